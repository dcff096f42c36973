#include "client/tilewidget.h"

#include "client/lettertiles.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

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
    // The picture is drawn at the tile's size, however large the board is.
    QPainter painter(this);
    const int side = std::min(width(), height());
    if (m_images) {
        painter.drawPixmap(0, 0, m_images->image(m_pictureIndex, devicePixelRatioF(), side));
    } else {
        const qreal grown = qreal(side) / LetterImages::TileSize;
        painter.scale(grown, grown);
        LetterImages::paintTile(painter, m_pictureIndex);
    }
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
