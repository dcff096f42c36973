#pragma once

// The game's pictures, drawn with QPainter when they are shown, so they stay
// crisp at any device pixel ratio. Each painter fills the rectangle it is
// given; the sizes below are the logical sizes the windows lay them out at.

#include <QColor>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>

#include <functional>

class QPainter;

namespace zwonky::artwork {

using Painter = std::function<void(QPainter &, const QRectF &)>;

// Palette shared by the windows.
QColor feltColour();        // the table cloth behind everything
QColor panelColour();       // cream of the panels
QColor panelBorderColour();
QColor accentColour();      // warm orange of the turn marker and highlights
QColor maroonColour();      // odd seats
QColor inkColour();         // even seats and body text

// Logical sizes.
inline constexpr QSize BackgroundTileSize{72, 72};
inline constexpr QSize TurnMarkerSize{12, 16};
inline constexpr QSize EyesSize{20, 12};
inline constexpr QSize NewTilesMarkerSize{24, 13};
inline constexpr QSize StartPictureSize{164, 62};
inline constexpr QSize LogoSize{182, 48};

void paintBackgroundTile(QPainter &painter, const QRectF &rect);
void paintTurnMarker(QPainter &painter, const QRectF &rect);
void paintEyes(QPainter &painter, const QRectF &rect);
void paintNewTilesMarker(QPainter &painter, const QRectF &rect);
// hovered/pressed give the picture button its feedback; a disabled picture is greyed.
void paintStartPicture(QPainter &painter, const QRectF &rect, bool hovered, bool pressed,
                       bool enabled = true);
// The name spelled in letter tiles (the caption of the main window's corner).
void paintLogo(QPainter &painter, const QRectF &rect);
// One letter tile, as on the rack (also used by the logo).
void paintLetterTile(QPainter &painter, const QRectF &rect, const QString &letter);

// Renders a painter into a pixmap of the logical size at the given ratio,
// over `ground` (an opaque ground gives a pixmap without alpha, which is
// copied to the screen rather than blended).
QPixmap render(const Painter &painter, QSize logicalSize, qreal devicePixelRatio,
               const QColor &ground = Qt::transparent);

} // namespace zwonky::artwork
