#pragma once

#include <QProxyStyle>

namespace zwonky {

// The application's style, except that its standard icons (the menu bar's
// overflow arrow, the icons of message boxes) are read from their files only
// when first drawn. Reading an icon file makes Qt ask every installed image
// plug-in whether it reads that file, so an icon made while the windows are
// built would load all of them; most of these icons are never drawn.
class DeferredIconStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // base == nullptr: the style the application would use anyway.
    explicit DeferredIconStyle(QStyle *base = nullptr);

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

} // namespace zwonky
