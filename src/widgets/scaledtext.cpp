#include "widgets/scaledtext.h"

#include <QFontInfo>
#include <QPainter>

namespace zwonky {

void drawScaledText(QPainter &painter, const QRectF &rect, int flags, const QString &text,
                    const QFont &font, qreal pixelSize)
{
    const int base = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    if (base <= 0 || pixelSize <= 0)
        return;
    const qreal factor = pixelSize / base;
    painter.save();
    painter.setFont(font);
    if (qFuzzyCompare(factor, 1.0)) {
        painter.drawText(rect, flags, text);
    } else {
        painter.translate(rect.topLeft());
        painter.scale(factor, factor);
        painter.drawText(QRectF(QPointF(0, 0), rect.size() / factor), flags, text);
    }
    painter.restore();
}

} // namespace zwonky
