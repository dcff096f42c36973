#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRectF>

namespace zwonky {

// The keyboard focus drawn on our own painted controls: a dark ring inside a
// white one, seen on any colour and on the cloth. rect is the control's
// outline, radius its corner radius.
inline void paintFocusRing(QPainter &painter, const QRectF &rect, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2.0));
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 1.0));
    painter.drawRoundedRect(rect.adjusted(3.0, 3.0, -3.0, -3.0), radius - 2, radius - 2);
    painter.restore();
}

} // namespace zwonky
