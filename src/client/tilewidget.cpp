#include "client/tilewidget.h"

#include "client/lettertiles.h"

#include <QMouseEvent>
#include <QPainter>

namespace zwonky {

TileWidget::TileWidget(int dieNumber, const LetterImages *images, QWidget *parent)
    : QWidget(parent), m_dieNumber(dieNumber), m_images(images)
{
    setObjectName(QStringLiteral("dice_%1").arg(dieNumber));
    setFixedSize(LetterImages::TileSize, LetterImages::TileSize);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::PointingHandCursor);
}

void TileWidget::setPictureIndex(int index)
{
    if (index == m_pictureIndex)
        return;
    m_pictureIndex = index;
    update();
}

QSize TileWidget::sizeHint() const
{
    return {LetterImages::TileSize, LetterImages::TileSize};
}

void TileWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_images)
        painter.drawPixmap(0, 0, m_images->image(m_pictureIndex, devicePixelRatioF()));
    else
        LetterImages::paintTile(painter, m_pictureIndex);
}

void TileWidget::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseDown(this, event->button());
}

// A quick second click is a second mouse-down, as on the rack a player
// clicks tiles in fast succession.
void TileWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    emit mouseDown(this, event->button());
}

} // namespace zwonky
