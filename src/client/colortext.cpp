#include "client/colortext.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cstdint>

namespace zwonky {

namespace {

struct NamedColour
{
    const char *name;
    quint32 value;
};

constexpr std::array<NamedColour, 16> kStandard{{
    {"clBlack", 0x000000},  {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080},  {"clNavy", 0x800000},   {"clPurple", 0x800080},
    {"clTeal", 0x808000},   {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// Screen elements, in the order that gives each its number.
constexpr std::array<const char *, 25> kSystem{
    "clScrollBar",     "clBackground",  "clActiveCaption", "clInactiveCaption",
    "clMenu",          "clWindow",      "clWindowFrame",   "clMenuText",
    "clWindowText",    "clCaptionText", "clActiveBorder",  "clInactiveBorder",
    "clAppWorkSpace",  "clHighlight",   "clHighlightText", "clBtnFace",
    "clBtnShadow",     "clGrayText",    "clBtnText",       "clInactiveCaptionText",
    "clBtnHighlight",  "cl3DDkShadow",  "cl3DLight",       "clInfoText",
    "clInfoBk",
};

// The palette role closest to each screen element above.
constexpr std::array<QPalette::ColorRole, 25> kSystemRoles{
    QPalette::Button,          QPalette::Window,      QPalette::Highlight,
    QPalette::Mid,             QPalette::Window,      QPalette::Base,
    QPalette::Shadow,          QPalette::WindowText,  QPalette::Text,
    QPalette::HighlightedText, QPalette::Window,      QPalette::Window,
    QPalette::Dark,            QPalette::Highlight,   QPalette::HighlightedText,
    QPalette::Button,          QPalette::Dark,        QPalette::PlaceholderText,
    QPalette::ButtonText,      QPalette::WindowText,  QPalette::Light,
    QPalette::Shadow,          QPalette::Midlight,    QPalette::ToolTipText,
    QPalette::ToolTipBase,
};

constexpr char kNoneName[] = "clNone";

std::optional<quint32> readInteger(const QString &text)
{
    bool ok = false;
    if (text.startsWith(QLatin1Char('$'))) {
        const QString digits = text.mid(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        const quint32 value = digits.toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        return value;
    }
    // Decimal with an optional sign: the value is a 32-bit integer, so the
    // system colours may also arrive as negative numbers.
    if (text.isEmpty() || text.size() > 11)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && !c.isDigit())
            return std::nullopt;
    }
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<quint32>(static_cast<qint32>(value));
}

} // namespace

QString colorToText(quint32 colour)
{
    for (const NamedColour &named : kStandard) {
        if (named.value == colour)
            return QString::fromLatin1(named.name);
    }
    if (colour >= SystemColourBase && colour < SystemColourBase + kSystem.size())
        return QString::fromLatin1(kSystem[colour - SystemColourBase]);
    if (colour == ColourNone)
        return QString::fromLatin1(kNoneName);
    return QLatin1Char('$') + QStringLiteral("%1").arg(colour, 8, 16, QLatin1Char('0')).toUpper();
}

std::optional<quint32> textToColor(const QString &text)
{
    for (const NamedColour &named : kStandard) {
        if (text.compare(QLatin1String(named.name), Qt::CaseInsensitive) == 0)
            return named.value;
    }
    for (std::size_t i = 0; i < kSystem.size(); ++i) {
        if (text.compare(QLatin1String(kSystem[i]), Qt::CaseInsensitive) == 0)
            return SystemColourBase + static_cast<quint32>(i);
    }
    if (text.compare(QLatin1String(kNoneName), Qt::CaseInsensitive) == 0)
        return ColourNone;
    return readInteger(text);
}

QColor colorFromValue(quint32 colour)
{
    if (colour >= SystemColourBase && colour < SystemColourBase + kSystem.size()) {
        // Only a GUI application has a palette to ask.
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return QColor(Qt::black);
        return QGuiApplication::palette().color(kSystemRoles[colour - SystemColourBase]);
    }
    if (colour == ColourNone)
        return QColor(Qt::black);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

quint32 valueFromColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return static_cast<quint32>(rgb.red()) | (static_cast<quint32>(rgb.green()) << 8)
         | (static_cast<quint32>(rgb.blue()) << 16);
}

} // namespace zwonky
