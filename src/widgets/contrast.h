#pragma once

// How well a text stands out from what is behind it, by the relative
// luminance of the two colours (sRGB, as screen-reading guidelines measure
// it): 1 for the same colour, 21 for black on white. Body text wants 4.5.

#include <QColor>

namespace zwonky::contrast {

inline constexpr double TextMinimum = 4.5;

double relativeLuminance(const QColor &colour);
double ratio(const QColor &a, const QColor &b);
inline bool readable(const QColor &text, const QColor &behind) { return ratio(text, behind) >= TextMinimum; }

} // namespace zwonky::contrast
