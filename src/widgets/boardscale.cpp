#include "widgets/boardscale.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace zwonky {

namespace {

int scaled(int logical, qreal factor)
{
    // Sizes of "no limit" stay so.
    if (logical >= QWIDGETSIZE_MAX)
        return QWIDGETSIZE_MAX;
    return int(std::min<qreal>(std::lround(logical * factor), QWIDGETSIZE_MAX));
}

} // namespace

BoardScale::BoardScale(QObject *parent) : QObject(parent) {}

void BoardScale::setFactor(qreal factor)
{
    if (!(factor > 1.0) || !std::isfinite(factor))
        factor = 1.0;
    if (qFuzzyCompare(factor, m_factor))
        return;
    m_factor = factor;
    emit changed(m_factor);
}

qreal BoardScale::fitting(QSize available, QSize logical)
{
    if (logical.width() <= 0 || logical.height() <= 0)
        return 1.0;
    const qreal across = qreal(available.width()) / logical.width();
    const qreal down = qreal(available.height()) / logical.height();
    return std::max<qreal>(1.0, std::min(across, down));
}

int BoardScale::length(int logical) const { return scaled(logical, m_factor); }

QPoint BoardScale::point(QPoint logical) const
{
    return {length(logical.x()), length(logical.y())};
}

QSize BoardScale::size(QSize logical) const
{
    return {length(logical.width()), length(logical.height())};
}

QRect BoardScale::rect(const QRect &logical) const
{
    // Both edges are scaled, the size is what lies between them.
    const int left = length(logical.x());
    const int top = length(logical.y());
    const int right = length(logical.x() + logical.width());
    const int bottom = length(logical.y() + logical.height());
    return QRect(left, top, right - left, bottom - top);
}

QFont BoardScale::font(const QFont &logical, qreal dotsPerInch) const
{
    if (qFuzzyCompare(m_factor, 1.0))
        return logical;
    QFont grown = logical;
    if (logical.pointSizeF() > 0)
        grown.setPointSizeF(logical.pointSizeF() * m_factor);
    else if (logical.pixelSize() > 0 && dotsPerInch > 0)
        grown.setPointSizeF(logical.pixelSize() * m_factor * 72.0 / dotsPerInch);
    return grown;
}

} // namespace zwonky
