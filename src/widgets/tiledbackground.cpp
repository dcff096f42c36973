#include "widgets/tiledbackground.h"

#include <QPaintEvent>
#include <QPainter>

namespace zwonky {

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

void TiledBackground::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cacheRatio != ratio) {
        m_cache = artwork::render(m_painter, m_tileSize, ratio);
        m_cacheRatio = ratio;
    }
    // One plain copy per tile, and only where the window needs painting.
    // (Qt's own tiling fills through spans it hands out to worker threads
    // for a surface this large: a wake-up on another core for each band.)
    const QSizeF tile = m_cache.deviceIndependentSize();
    const QRect dirty = event->rect();
    const int firstColumn = int(dirty.left() / tile.width());
    const int firstRow = int(dirty.top() / tile.height());
    QPainter painter(this);
    painter.setClipRect(dirty);
    for (qreal y = firstRow * tile.height(); y <= dirty.bottom(); y += tile.height()) {
        for (qreal x = firstColumn * tile.width(); x <= dirty.right(); x += tile.width())
            painter.drawPixmap(QPointF(x, y), m_cache);
    }
}

} // namespace zwonky
