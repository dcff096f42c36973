#include "client/tilewidget.h"

#include "widgets/focusring.h"

#include "client/lettertiles.h"

#include <QKeyEvent>
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
    // Tab reaches the tiles; a click leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleDescription(QStringLiteral(
        "Space lays it on the word tray, or takes it back when it was the last one laid"));
    updateAccessibleName();
}

void TileWidget::setTrayPosition(int position)
{
    if (position == m_trayPosition)
        return;
    m_trayPosition = position;
    updateAccessibleName();
}

void TileWidget::setPictureIndex(int index)
{
    if (index == m_pictureIndex)
        return;
    m_pictureIndex = index;
    updateAccessibleName();
    update();
}

void TileWidget::updateAccessibleName()
{
    QString name = QStringLiteral("Tile %1: ").arg(m_dieNumber);
    if (m_pictureIndex >= 1 && m_pictureIndex <= 26)
        name += QStringLiteral("letter ") + QChar(u'A' + (m_pictureIndex - 1));
    else
        name += QStringLiteral("blank");
    if (m_trayPosition > 0)
        name += QStringLiteral(", on the tray at %1").arg(m_trayPosition);
    setAccessibleName(name);
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
    painter.resetTransform();
    if (hasFocus())
        paintFocusRing(painter, QRectF(rect()), 6);
}

void TileWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit mouseDown(this, Qt::LeftButton);
        return;
    case Qt::Key_Menu:
        event->accept();
        emit mouseDown(this, Qt::RightButton);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TileWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TileWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
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
