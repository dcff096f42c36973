#include "lobby/emptyhint.h"

#include <QAbstractItemView>
#include <QPainter>

namespace zwonky::lobby {

void paintEmptyHint(QAbstractItemView &view, const QString &hint)
{
    if (hint.isEmpty() || view.model() == nullptr || view.model()->rowCount() > 0)
        return;
    QPainter painter(view.viewport());
    painter.setPen(QColor(0x8a, 0x7a, 0x5c));
    const QRect area = view.viewport()->rect().adjusted(12, 6, -12, -6);
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, hint);
}

HintedList::HintedList(QString hint, QWidget *parent) : QListWidget(parent), m_hint(std::move(hint)) {}

void HintedList::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    paintEmptyHint(*this, m_hint);
}

} // namespace zwonky::lobby
