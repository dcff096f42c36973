#include "widgets/tiledbackground.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>

namespace zwonky {

namespace {

// The window is laid with strips of this many tiles side by side: a few
// long copies cost less than many small ones.
constexpr int StripTiles = 4;

QPixmap renderStrip(const artwork::Painter &paint, QSize tileSize, qreal ratio)
{
    // Over the cloth's own colour: an opaque picture is copied, not blended.
    const QPixmap tile = artwork::render(paint, tileSize, ratio, artwork::feltColour());
    QPixmap strip(tile.width() * StripTiles, tile.height());
    strip.setDevicePixelRatio(ratio);
    QPainter painter(&strip);
    const qreal step = tile.deviceIndependentSize().width();
    for (int column = 0; column < StripTiles; ++column)
        painter.drawPixmap(QPointF(column * step, 0), tile);
    return strip;
}

// The game's cloth is the same in every window: one strip per pixel ratio,
// kept in Qt's pixmap cache.
QString clothKey(qreal ratio)
{
    return QStringLiteral("zwonky/cloth-strip@") + QString::number(ratio);
}

QPixmap clothStrip(qreal ratio)
{
    QPixmap strip;
    if (!QPixmapCache::find(clothKey(ratio), &strip)) {
        strip = renderStrip(artwork::paintBackgroundTile, artwork::BackgroundTileSize, ratio);
        QPixmapCache::insert(clothKey(ratio), strip);
    }
    return strip;
}

} // namespace

void TiledBackground::prepareCloth(qreal ratio)
{
    clothStrip(ratio);
}

TiledBackground::TiledBackground(QWidget *parent)
    : QWidget(parent), m_painter(artwork::paintBackgroundTile),
      m_tileSize(artwork::BackgroundTileSize)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TiledBackground::setTile(artwork::Painter painter, QSize logicalSize)
{
    m_ownTile = true;
    m_painter = std::move(painter);
    m_tileSize = logicalSize;
    m_cacheRatio = 0;
    update();
}

QPixmap TiledBackground::tileStrip(qreal ratio) const
{
    return m_ownTile ? renderStrip(m_painter, m_tileSize, ratio) : clothStrip(ratio);
}

void TiledBackground::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cacheRatio != ratio) {
        m_cache = tileStrip(ratio);
        m_cacheRatio = ratio;
    }
    // Plain copies of the strip, only where the window needs painting, one
    // rectangle of it at a time: copies clipped to a rectangle are straight
    // row copies, while clipped to a shape (the window less its opaque
    // controls) they become fills that Qt hands out to worker threads.
    const QSizeF strip = m_cache.deviceIndependentSize();
    QPainter painter(this);
    for (const QRect &part : event->region()) {
        painter.setClipRect(part);
        const int firstColumn = int(part.left() / strip.width());
        const int firstRow = int(part.top() / strip.height());
        for (qreal y = firstRow * strip.height(); y <= part.bottom(); y += strip.height()) {
            for (qreal x = firstColumn * strip.width(); x <= part.right(); x += strip.width())
                painter.drawPixmap(QPointF(x, y), m_cache);
        }
    }
}

} // namespace zwonky
