#pragma once

#include <QProxyStyle>

namespace zwonky {

// The application's style, except that a tall scroll bar is painted a strip
// at a time. Its groove and handle are gradients and translucent lines as
// tall as the bar, which Qt's raster engine would hand to worker threads on
// every paint, starting those threads on the first paint and waiting for
// them on each. Each strip is painted into an image of its own, whose edges
// bound whatever clip the style sets, and copied into place; the bar looks
// the same either way.
class BandedScrollBarStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // base == nullptr: the style the application would use anyway.
    explicit BandedScrollBarStyle(QStyle *base = nullptr);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
};

} // namespace zwonky
