#pragma once

#include <QBrush>

class QColor;
class QLinearGradient;
class QPainter;

namespace zwonky {

// Brushes that look exactly like the plain ones but that Qt's raster engine
// fills on the painting thread. It hands a large area of a translucent colour,
// or of a gradient that is not vertical on the screen, to worker threads in
// bands; each band wakes another core and the painting thread waits for it,
// which on a start-up's first paint of a hundred such shapes cost more than
// the painting itself. A vertical gradient is filled in place, so these
// brushes are vertical gradients on the device: `painter` is the one about
// to draw, with the transformation it will draw with.

// `colour` as it is; an opaque colour comes back as a plain brush (Qt copies
// those in place already).
QBrush inlineFill(const QPainter &painter, const QColor &colour);

// A gradient between two points of the picture, shaded along the screen's
// vertical instead of along the picture's own axis when the painter turns
// it a little (the game's pictures lean by a few degrees: the same look).
// One that leans further, or runs across, comes back as it is.
QBrush inlineFill(const QPainter &painter, const QLinearGradient &gradient);

} // namespace zwonky
