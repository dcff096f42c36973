#include "widgets/tiledbackground.h"

#include <QPaintEvent>
#include <QPainter>

namespace zwonky {

namespace {

// The window is laid with strips of this many tiles side by side: a few
// long copies cost less than many small ones.
constexpr int StripTiles = 4;

} // namespace

TiledBackground::TiledBackground(QWidget *parent)
    : QWidget(parent), m_painter(artwork::paintBackgroundTile),
      m_tileSize(artwork::BackgroundTileSize)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TiledBackground::setTile(artwork::Painter painter, QSize logicalSize)
{
    m_painter = std::move(painter);
    m_tileSize = logicalSize;
    m_cacheRatio = 0;
    update();
}

QPixmap TiledBackground::tileStrip(qreal ratio) const
{
    // Over the cloth's own colour: an opaque picture is copied, not blended.
    const QPixmap tile = artwork::render(m_painter, m_tileSize, ratio, artwork::feltColour());
    QPixmap strip(tile.width() * StripTiles, tile.height());
    strip.setDevicePixelRatio(ratio);
    QPainter painter(&strip);
    const qreal step = tile.deviceIndependentSize().width();
    for (int column = 0; column < StripTiles; ++column)
        painter.drawPixmap(QPointF(column * step, 0), tile);
    return strip;
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
