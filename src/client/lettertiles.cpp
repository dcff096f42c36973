#include "client/lettertiles.h"
#include "widgets/artwork.h"
#include "widgets/inlinefill.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zwonky {

int letterIndex(const QString &letter)
{
    if (letter.size() != 1)
        return 1;
    const QChar c = letter.at(0);
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        return c.unicode() - 'A' + 1;
    return 1;
}

QPixmap LetterImages::image(int index, qreal devicePixelRatio, int side) const
{
    if (index < 0 || index >= Count)
        index = 0;
    if (!(devicePixelRatio > 0.0) || devicePixelRatio > 8.0)
        devicePixelRatio = 1.0;
    side = std::clamp(side, 1, MaxSide);
    // All tiles show at one size: a new size or ratio replaces the pictures.
    const int ratio = int(std::lround(devicePixelRatio * 100));
    if (side != m_cachedSide || ratio != m_cachedRatio) {
        m_cache.clear();
        m_cachedSide = side;
        m_cachedRatio = ratio;
    }
    const auto found = m_cache.find(index);
    if (found != m_cache.end())
        return found->second;

    const qreal grown = qreal(side) / TileSize;
    const QPixmap pixmap = artwork::render(
        [index, grown](QPainter &painter, const QRectF &) {
            painter.scale(grown, grown);
            paintTile(painter, index);
        },
        QSize(side, side), devicePixelRatio);
    m_cache.emplace(index, pixmap);
    return pixmap;
}

void LetterImages::paintTile(QPainter &painter, int index)
{
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // A soft drop shadow under the tile, then the ivory face with a wooden rim.
    const QRectF face(1.0, 1.0, TileSize - 3.5, TileSize - 3.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, QColor(60, 40, 15, 70)));
    painter.drawRoundedRect(face.translated(1.6, 1.8), 6.0, 6.0);

    QLinearGradient wood(face.topLeft(), face.bottomRight());
    wood.setColorAt(0.0, QColor(0xFB, 0xF1, 0xD6));
    wood.setColorAt(0.55, QColor(0xF1, 0xDD, 0xAE));
    wood.setColorAt(1.0, QColor(0xDA, 0xBB, 0x7C));
    painter.setBrush(wood);
    painter.setPen(QPen(QColor(0x9A, 0x74, 0x38), 1.2));
    painter.drawRoundedRect(face, 6.0, 6.0);

    // Bevel: light along the top and left edges.
    painter.setPen(QPen(inlineFill(painter, QColor(255, 255, 255, 170)), 1.3));
    painter.setBrush(Qt::NoBrush);
    QPainterPath bevel;
    bevel.moveTo(face.left() + 3.0, face.bottom() - 5.0);
    bevel.lineTo(face.left() + 3.0, face.top() + 6.0);
    bevel.quadTo(face.left() + 3.0, face.top() + 3.0, face.left() + 6.0, face.top() + 3.0);
    bevel.lineTo(face.right() - 5.0, face.top() + 3.0);
    painter.drawPath(bevel);

    if (index < 1 || index > 26)
        return;

    const QString text(QChar(u'A' + (index - 1)));
    QFont font(QStringLiteral("DejaVu Sans"));
    // The hint alone would also reset the application's text strategy.
    font.setStyleHint(QFont::SansSerif, QGuiApplication::font().styleStrategy());
    font.setWeight(QFont::Black);
    font.setPixelSize(index == 13 || index == 23 ? 23 : 26); // M and W are wide
    painter.setFont(font);
    // Engraved look: a light copy one pixel lower, then the dark letter.
    painter.setPen(QColor(255, 250, 235, 200));
    painter.drawText(face.translated(0.0, 1.0), Qt::AlignCenter, text);
    painter.setPen(QColor(0x3A, 0x25, 0x10));
    painter.drawText(face, Qt::AlignCenter, text);
}

} // namespace zwonky
