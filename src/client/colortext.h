#pragma once

// Colour text: how chat messages and the settings file carry a colour.
// A colour value is 0x00BBGGRR (blue in bits 16-23, red in bits 0-7).
// Values with a name are written as that name ("clBlack", "clWindow"),
// others as "$" + eight upper-case hex digits ("$000080FF" is orange).
// Reading accepts a name (any letter case), a decimal integer or "$" + hex.

#include <QColor>
#include <QString>

#include <optional>

namespace zwonky {

inline constexpr quint32 ColourBlack = 0x000000;
inline constexpr quint32 ColourRed = 0x0000FF;
inline constexpr quint32 ColourGreen = 0x008000;
inline constexpr quint32 ColourNavy = 0x800000;
inline constexpr quint32 ColourBlue = 0xFF0000;
// System colours stand for a desktop colour: 0x80000000 + index.
inline constexpr quint32 SystemColourBase = 0x80000000u;
inline constexpr quint32 ColourNone = 0x1FFFFFFF;

QString colorToText(quint32 colour);
// The value of a colour text, or nothing when the text cannot be read.
std::optional<quint32> textToColor(const QString &text);

// Between the 0x00BBGGRR value and a displayable colour. System colours take
// the application palette's colour of that screen element.
QColor colorFromValue(quint32 colour);
quint32 valueFromColor(const QColor &colour);

} // namespace zwonky
