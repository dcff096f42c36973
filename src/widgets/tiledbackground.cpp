#include "widgets/tiledbackground.h"

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
    QPainter painter(this);
    painter.drawTiledPixmap(rect(), m_cache);
    Q_UNUSED(event);
}

} // namespace zwonky
