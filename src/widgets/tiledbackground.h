#pragma once

#include "widgets/artwork.h"

#include <QPixmap>
#include <QWidget>

namespace zwonky {

// Paints a window's background with a repeated picture (the table cloth),
// rendered at the screen's pixel ratio so it stays sharp on any screen.
class TiledBackground : public QWidget
{
    Q_OBJECT
public:
    explicit TiledBackground(QWidget *parent = nullptr);

    // A different picture (default: the game's cloth).
    void setTile(artwork::Painter painter, QSize logicalSize);

    // Renders the cloth for screens of this pixel ratio ahead of the first
    // window that shows it (the windows share one rendering).
    static void prepareCloth(qreal ratio);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap tileStrip(qreal ratio) const;

    bool m_ownTile = false;  // set with setTile(): not the shared cloth
    artwork::Painter m_painter;
    QSize m_tileSize;
    QPixmap m_cache;  // a strip of tiles
    qreal m_cacheRatio = 0;
};

} // namespace zwonky
