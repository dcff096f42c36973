#include "widgets/paintbands.h"

#include <QPainter>

#include <algorithm>

namespace zwonky {

namespace {

// At most a few spans a row for the shapes drawn this way: well under the
// engine's threshold of 96 spans for one fill.
constexpr int BandRows = 16;

} // namespace

void paintInBands(QPainter &painter, const QRect &area, const std::function<void()> &paint)
{
    for (int top = area.top(); top <= area.bottom(); top += BandRows) {
        painter.save();
        painter.setClipRect(QRect(area.left(), top, area.width(), std::min(BandRows, area.bottom() + 1 - top)),
                            painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        paint();
        painter.restore();
    }
}

} // namespace zwonky
