#include "client/windowbounds.h"

#include <algorithm>

namespace zwonky {

namespace {

// One side: the length held to [least, room] (least wins), then the start
// held so that the whole length lies in [origin, origin + room). Worked in
// 64 bits, so no int the file holds can overflow.
void holdSide(qint64 &start, qint64 &length, qint64 origin, qint64 room, qint64 least)
{
    least = std::max<qint64>(least, 0);
    length = std::clamp(length, least, std::max(least, room));
    start = std::clamp(start, origin, std::max(origin, origin + room - length));
}

} // namespace

QRect boundsOnScreen(int left, int top, int width, int height, const QRect &available,
                     const QSize &minimum)
{
    qint64 x = left;
    qint64 y = top;
    qint64 w = width;
    qint64 h = height;
    holdSide(x, w, available.x(), std::max(available.width(), 0), minimum.width());
    holdSide(y, h, available.y(), std::max(available.height(), 0), minimum.height());
    return QRect(int(x), int(y), int(w), int(h));
}

} // namespace zwonky
