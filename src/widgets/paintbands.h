#pragma once

#include <QRect>

#include <functional>

class QPainter;

namespace zwonky {

// Paints `paint` over `area` (in the painter's coordinates) a strip at a
// time, each clipped to a few rows. Qt's raster engine hands any single
// fill of more than about a hundred spans - a tall slanted gradient, a
// translucent shape - to worker threads, one wake-up of another core per
// band, with the painting thread waiting; strips this low never reach that.
// The pixels are the same: every row is painted once, as a whole.
void paintInBands(QPainter &painter, const QRect &area, const std::function<void()> &paint);

} // namespace zwonky
