#include "widgets/inlinefill.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace zwonky {

namespace {

// tan(10 degrees): more than the game's pictures ever lean.
constexpr qreal MaxLean = 0.1763;

// `deviceGradient`, given in device coordinates, for a painter that maps
// the brush through its own transformation first.
QBrush onDevice(const QPainter &painter, const QLinearGradient &deviceGradient)
{
    QBrush brush(deviceGradient);
    const QTransform toDevice = painter.combinedTransform();
    if (!toDevice.isIdentity() && toDevice.isInvertible())
        brush.setTransform(toDevice.inverted());
    return brush;
}

} // namespace

QBrush inlineFill(const QPainter &painter, const QColor &colour)
{
    if (colour.alpha() == 255)
        return QBrush(colour);
    QLinearGradient even(0, 0, 0, 1);
    even.setColorAt(0.0, colour);
    even.setColorAt(1.0, colour);
    return onDevice(painter, even);
}

QBrush inlineFill(const QPainter &painter, const QLinearGradient &gradient)
{
    const QTransform toDevice = painter.combinedTransform();
    const QPointF start = toDevice.map(gradient.start());
    const QPointF end = toDevice.map(gradient.finalStop());
    // Upright already, or leaning so far that shading it upright would show.
    const qreal across = std::abs(end.x() - start.x());
    const qreal down = std::abs(end.y() - start.y());
    if (across == 0 || across > down * MaxLean)
        return QBrush(gradient);
    // Keep the stops and the spread; measure them along the screen's vertical.
    QLinearGradient upright(start.x(), start.y(), start.x(), end.y());
    upright.setStops(gradient.stops());
    upright.setSpread(gradient.spread());
    return onDevice(painter, upright);
}

} // namespace zwonky
