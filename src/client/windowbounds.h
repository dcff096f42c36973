#pragma once

// Placing a window from numbers read from a file: whatever they say, the
// window ends up inside the free area of a screen and no smaller than its
// minimum (the minimum wins on a screen smaller than it).

#include <QRect>
#include <QSize>

namespace zwonky {

QRect boundsOnScreen(int left, int top, int width, int height, const QRect &available,
                     const QSize &minimum);

} // namespace zwonky
