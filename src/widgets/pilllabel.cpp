#include "widgets/pilllabel.h"

#include "widgets/artwork.h"

#include <QFontMetrics>
#include <QPainter>

namespace zwonky {

PillLabel::PillLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

void PillLabel::paintEvent(QPaintEvent *event)
{
    if (!text().isEmpty()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const int width = qMin(rect().width() - 2, fontMetrics().horizontalAdvance(text()) + 28);
        QRectF pill(0, 0.5, width, rect().height() - 1.0);
        pill.moveCenter(QRectF(rect()).center());
        QColor fill = artwork::panelColour();
        fill.setAlpha(235);
        painter.setPen(QPen(artwork::panelBorderColour(), 1.0));
        painter.setBrush(fill);
        painter.drawRoundedRect(pill, pill.height() / 2.0, pill.height() / 2.0);
    }
    QLabel::paintEvent(event);
}

} // namespace zwonky
