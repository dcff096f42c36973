#pragma once

// A window's place and size as the settings file holds them, and placing a
// window from such numbers: whatever they say, the window ends up inside the
// free area of a screen and no smaller than its minimum (the minimum wins on
// a screen smaller than it).

#include <QRect>
#include <QSize>

namespace zwonky {

// Four plain numbers, any int each: a QRect cannot hold every width at every
// place (its right edge would overflow).
struct WindowBounds
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    static WindowBounds of(const QRect &rect)
    {
        return WindowBounds{rect.x(), rect.y(), rect.width(), rect.height()};
    }
    bool operator==(const WindowBounds &) const = default;
};

QRect boundsOnScreen(int left, int top, int width, int height, const QRect &available,
                     const QSize &minimum);

inline QRect boundsOnScreen(const WindowBounds &bounds, const QRect &available,
                            const QSize &minimum)
{
    return boundsOnScreen(bounds.left, bounds.top, bounds.width, bounds.height, available,
                          minimum);
}

} // namespace zwonky
