#include "client/boardbackdrop.h"
#include "widgets/inlinefill.h"

#include <QLinearGradient>
#include <QPainter>

namespace zwonky {

namespace {
constexpr int Tile = 41;
int trayLeft(int position) { return Tile * position + 69; }
} // namespace

BoardBackdrop::BoardBackdrop(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("image_tray"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BoardBackdrop::setTwoRows(bool twoRows)
{
    if (m_twoRows == twoRows)
        return;
    m_twoRows = twoRows;
    update();
}

void BoardBackdrop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // Drawn in logical pixels, at whatever size the board shows it.
    painter.scale(width() / qreal(LogicalWidth), height() / qreal(LogicalHeight));

    // The word tray: a dark wooden trough with ten numbered hollows.
    const QRectF trough(trayLeft(1) - 6.5, 2.5, Tile * 10 + 13.0, Tile + 11.0);
    QLinearGradient wood(trough.topLeft(), trough.bottomLeft());
    wood.setColorAt(0.0, QColor(0x8A, 0x5A, 0x2B));
    wood.setColorAt(1.0, QColor(0x5E, 0x3A, 0x17));
    painter.setPen(QPen(QColor(0x3E, 0x25, 0x0E), 1.0));
    painter.setBrush(wood);
    painter.drawRoundedRect(trough, 7.0, 7.0);

    QFont numbers = font();
    numbers.setPixelSize(13);
    numbers.setBold(true);
    painter.setFont(numbers);
    for (int position = 1; position <= 10; ++position) {
        const QRectF hollow(trayLeft(position) + 1.5, 9.5, Tile - 3.0, Tile - 3.0);
        painter.setPen(QPen(inlineFill(painter, QColor(0x2E, 0x1A, 0x08, 160)), 1.0));
        painter.setBrush(QColor(0x4A, 0x2C, 0x10));
        painter.drawRoundedRect(hollow, 5.0, 5.0);
        painter.setPen(QColor(0xD8, 0xB8, 0x80, 170));
        painter.drawText(hollow, Qt::AlignCenter, QString::number(position));
    }

    // The rack: a light shelf under each row of tiles.
    auto shelf = [&](qreal left, qreal right, qreal top) {
        const QRectF board(left, top + Tile - 4.0, right - left, 9.0);
        QLinearGradient lip(board.topLeft(), board.bottomLeft());
        lip.setColorAt(0.0, QColor(0xB9, 0x86, 0x4C));
        lip.setColorAt(1.0, QColor(0x7C, 0x52, 0x25));
        painter.setPen(QPen(QColor(0x5A, 0x38, 0x16), 1.0));
        painter.setBrush(lip);
        painter.drawRoundedRect(board, 3.0, 3.0);
    };
    if (m_twoRows) {
        shelf(Tile * 4 + 9 - 8, Tile * 10 + 9 + Tile + 8, 61);
        shelf(183 - 8, 400 + Tile + 8, 103);
    } else {
        shelf(Tile + 9 - 8, Tile * 13 + 9 + Tile + 8, 61);
    }
}

} // namespace zwonky
