#include "widgets/bandedscrollbarstyle.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionComplex>

#include <algorithm>
#include <cmath>

namespace zwonky {

namespace {

// Device pixel rows of one strip. A bar's shapes give a strip a span a row
// for each edge along the bar and one a pixel for each line across it;
// strips this low keep every fill well under the engine's threshold of 96
// spans for handing it to other threads.
constexpr int StripRows = 24;

// Only an upright bar, as the chat log's, is cut: the antialiased ends of a
// lying bar's handle come out a shade apart when cut. And strips line up
// with the device's pixels only where a logical pixel is a whole square of
// them at a whole offset. Anything else is painted as it always was.
// Returns the device pixels to a logical one, or 0 where no strips are cut.
int stripScale(const QRect &area, const QPainter &painter)
{
    if (area.height() < area.width())
        return 0;
    const QTransform toDevice = painter.deviceTransform();
    const qreal scale = toDevice.m11();
    const auto whole = [](qreal value) { return value == std::round(value); };
    if (toDevice.type() > QTransform::TxScale || scale != toDevice.m22() || scale < 1
        || !whole(scale) || !whole(toDevice.dx()) || !whole(toDevice.dy()))
        return 0;
    // A bar low enough to be one strip is painted as it is.
    return area.height() * scale > StripRows ? int(scale) : 0;
}

} // namespace

BandedScrollBarStyle::BandedScrollBarStyle(QStyle *base) : QProxyStyle(base) {}

void BandedScrollBarStyle::drawComplexControl(ComplexControl control,
                                              const QStyleOptionComplex *option,
                                              QPainter *painter, const QWidget *widget) const
{
    const int scale = control == CC_ScrollBar && option && painter ? stripScale(option->rect, *painter) : 0;
    if (scale == 0) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect area = option->rect;
    const int rows = std::max(1, StripRows / scale);
    for (int top = area.top(); top <= area.bottom(); top += rows) {
        const QRect strip(area.left(), top, area.width(), std::min(rows, area.bottom() + 1 - top));
        QImage image(strip.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        QPainter stripPainter(&image);
        stripPainter.translate(-strip.topLeft());
        QProxyStyle::drawComplexControl(control, option, &stripPainter, widget);
        stripPainter.end();
        painter->drawImage(strip.topLeft(), image);
    }
}

} // namespace zwonky
