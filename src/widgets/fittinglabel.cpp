#include "widgets/fittinglabel.h"
#include "widgets/plaintext.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>

namespace zwonky {

FittingLabel::FittingLabel(const QString &text, QWidget *parent) : QLabel(parent)
{
    // Drawn as characters when set smaller, so always shown as characters.
    plaintext::keep(this);
    setText(text);
}

int FittingLabel::textWidth() const
{
    const int indentation = indent() > 0 ? indent() : 0;
    return qMax(0, contentsRect().width() - indentation - 2 * margin());
}

QFont FittingLabel::fittedFont() const
{
    QFont type = font();
    const int room = textWidth();
    const QString shown = text();
    qreal size = type.pointSizeF();
    if (size <= 0) // a pixel-sized font
        size = QFontInfo(type).pointSizeF();
    while (QFontMetrics(type).horizontalAdvance(shown) > room && size > SmallestPointSize) {
        size = qMax(SmallestPointSize, size - 0.5);
        type.setPointSizeF(size);
    }
    return type;
}

void FittingLabel::paintEvent(QPaintEvent *event)
{
    const QFont type = fittedFont();
    if (type == font()) {
        setToolTip(QString());
        QLabel::paintEvent(event);
        return;
    }
    // The frame and the styled background as usual, the text in smaller type.
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setFont(type);
    painter.setPen(palette().color(foregroundRole()));
    const int indentation = indent() > 0 ? indent() : 0;
    QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    if (alignment() & Qt::AlignRight)
        area.setRight(area.right() - indentation);
    else
        area.setLeft(area.left() + indentation);
    const QFontMetrics metrics(type);
    const QString shown = metrics.elidedText(text(), Qt::ElideRight, area.width());
    setToolTip(shown == text() ? QString() : plaintext::toolTip(text()));
    painter.drawText(area, int(alignment()) | Qt::TextSingleLine, shown);
}

} // namespace zwonky
