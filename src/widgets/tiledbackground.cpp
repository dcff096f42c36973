#include "widgets/tiledbackground.h"

#include <QPaintEvent>
#include <QPainter>

namespace zwonky {

namespace {

// The window is laid with blocks of this many tiles a side: a few large
// copies cost less than many small ones.
constexpr int BlockTiles = 4;

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

QPixmap TiledBackground::tileBlock(qreal ratio) const
{
    // Over the cloth's own colour: an opaque picture is copied, not blended.
    const QPixmap tile = artwork::render(m_painter, m_tileSize, ratio, artwork::feltColour());
    QPixmap block(tile.size() * BlockTiles);
    block.setDevicePixelRatio(ratio);
    QPainter painter(&block);
    const QSizeF step = tile.deviceIndependentSize();
    for (int row = 0; row < BlockTiles; ++row) {
        for (int column = 0; column < BlockTiles; ++column)
            painter.drawPixmap(QPointF(column * step.width(), row * step.height()), tile);
    }
    return block;
}

void TiledBackground::paintEvent(QPaintEvent *event)
{
    const qreal ratio = devicePixelRatioF();
    if (m_cache.isNull() || m_cacheRatio != ratio) {
        m_cache = tileBlock(ratio);
        m_cacheRatio = ratio;
    }
    // Plain copies of the block, only where the window needs painting.
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
