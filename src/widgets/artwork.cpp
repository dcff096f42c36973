#include "widgets/artwork.h"
#include "widgets/inlinefill.h"

#include "widgets/paintbands.h"
#include "widgets/scaledtext.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace zwonky::artwork {

namespace {

// Every letter of the pictures is drawn from one size of the bold face (the
// logo's), scaled: the pictures then need no font set-up of their own.
QFont letteringFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(16);
    return font;
}

} // namespace

QColor feltColour() { return QColor(0x2f, 0x6e, 0x5b); }
QColor panelColour() { return QColor(0xfd, 0xf8, 0xec); }
QColor panelBorderColour() { return QColor(0xc8, 0xb2, 0x86); }
QColor accentColour() { return QColor(0xe8, 0x7a, 0x1e); }
QColor maroonColour() { return QColor(0x80, 0x00, 0x00); }
QColor inkColour() { return QColor(0x1e, 0x1e, 0x1e); }

void paintBackgroundTile(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, feltColour());

    // A woven cloth: faint diagonal threads that meet at the tile's edges,
    // so neighbouring tiles join without a seam.
    const qreal w = rect.width();
    const qreal h = rect.height();
    const QPointF o = rect.topLeft();
    QPen thread(inlineFill(painter, QColor(255, 255, 255, 18)), w / 48.0);
    painter.setPen(thread);
    for (int i = -4; i <= 4; ++i) {
        const qreal d = i * w / 4.0;
        painter.drawLine(o + QPointF(d, 0), o + QPointF(d + w, h));
        painter.drawLine(o + QPointF(d + w, 0), o + QPointF(d, h));
    }
    // Small diamonds where threads cross, darker, like a printed felt.
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, QColor(0, 0, 0, 26)));
    const qreal r = w / 24.0;
    for (int gx = 0; gx <= 4; ++gx) {
        for (int gy = 0; gy <= 4; ++gy) {
            if ((gx + gy) % 2)
                continue;
            const QPointF c = o + QPointF(gx * w / 4.0, gy * h / 4.0);
            QPolygonF diamond;
            diamond << c + QPointF(0, -r) << c + QPointF(r, 0) << c + QPointF(0, r)
                    << c + QPointF(-r, 0);
            painter.drawPolygon(diamond);
        }
    }
    painter.restore();
}

void paintTurnMarker(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath arrow;
    arrow.moveTo(r.left(), r.top() + r.height() * 0.18);
    arrow.lineTo(r.right(), r.center().y());
    arrow.lineTo(r.left(), r.bottom() - r.height() * 0.18);
    arrow.quadTo(r.left() + r.width() * 0.3, r.center().y(), r.left(),
                 r.top() + r.height() * 0.18);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, QColor(0xff, 0xb3, 0x47));
    fill.setColorAt(1.0, QColor(0xd9, 0x5b, 0x0b));
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(0x7a, 0x2e, 0x00), 1.0));
    painter.drawPath(arrow);
    painter.restore();
}

void paintEyes(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = rect.width() / 2.0;
    for (int i = 0; i < 2; ++i) {
        const QRectF eye(rect.left() + i * w + 0.6, rect.top() + 0.6, w - 1.2,
                         rect.height() - 1.2);
        painter.setPen(QPen(QColor(0x33, 0x33, 0x33), 1.0));
        painter.setBrush(Qt::white);
        painter.drawEllipse(eye);
        // Pupils look to the right, at the table.
        const qreal pr = eye.height() * 0.28;
        const QPointF pupil(eye.center().x() + eye.width() * 0.16, eye.center().y() + 0.5);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x2a, 0x4d, 0x8f));
        painter.drawEllipse(pupil, pr, pr);
        painter.setBrush(Qt::black);
        painter.drawEllipse(pupil, pr * 0.5, pr * 0.5);
    }
    painter.restore();
}

void paintNewTilesMarker(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, QColor(0xff, 0xe0, 0x6a));
    fill.setColorAt(1.0, QColor(0xf0, 0xa8, 0x10));
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(0x9a, 0x5b, 0x00), 1.0));
    painter.drawRoundedRect(r, r.height() / 2.0, r.height() / 2.0);
    painter.setPen(QColor(0x6b, 0x2a, 0x00));
    drawScaledText(painter, r, Qt::AlignCenter, QStringLiteral("NEW"), letteringFont(),
                   qMax(6, int(r.height() * 0.62)));
    painter.restore();
}

void paintLetterTile(QPainter &painter, const QRectF &rect, const QString &letter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(0.5, 0.5, -1.5, -1.5);
    const qreal radius = r.width() * 0.18;
    // shadow
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, QColor(0, 0, 0, 70)));
    painter.drawRoundedRect(r.translated(1.2, 1.4), radius, radius);
    QLinearGradient face(r.topLeft(), r.bottomLeft());
    face.setColorAt(0.0, QColor(0xff, 0xf7, 0xde));
    face.setColorAt(1.0, QColor(0xee, 0xd9, 0xa8));
    painter.setBrush(inlineFill(painter, face));
    painter.setPen(QPen(QColor(0x9c, 0x7a, 0x3c), 1.0));
    painter.drawRoundedRect(r, radius, radius);
    painter.setPen(QColor(0xa0, 0x17, 0x1b));
    drawScaledText(painter, r.adjusted(0, r.height() * 0.04, 0, 0), Qt::AlignCenter, letter,
                   letteringFont(), qMax(6, int(r.height() * 0.62)));
    painter.restore();
}

void paintLogo(QPainter &painter, const QRectF &rect)
{
    const QString name = QStringLiteral("ZWONKY");
    const qreal gap = 2.0;
    const qreal size = qMin(rect.height() - 6.0, (rect.width() - gap * 5) / 6.0);
    const qreal left = rect.left() + (rect.width() - (size * 6 + gap * 5)) / 2.0;
    static constexpr qreal tilt[] = {-6, 4, -3, 5, -4, 3};
    for (int i = 0; i < 6; ++i) {
        painter.save();
        const QPointF centre(left + i * (size + gap) + size / 2.0,
                             rect.center().y() + (i % 2 ? 1.5 : -1.5));
        painter.translate(centre);
        painter.rotate(tilt[i]);
        paintLetterTile(painter, QRectF(-size / 2.0, -size / 2.0, size, size), name.at(i));
        painter.restore();
    }
}

void paintStartPicture(QPainter &painter, const QRectF &rect, bool hovered, bool pressed,
                       bool enabled)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF r = rect.adjusted(2, 2, -3, -4);
    if (pressed)
        r.translate(0, 1.5);
    const qreal radius = r.height() * 0.3;
    // shadow
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, QColor(0, 0, 0, pressed ? 40 : 80)));
    painter.drawRoundedRect(r.translated(1.5, pressed ? 1.0 : 2.5), radius, radius);

    QColor top = enabled ? QColor(0x6b, 0xd0, 0x5a) : QColor(0xc4, 0xc4, 0xc4);
    QColor bottom = enabled ? QColor(0x23, 0x8a, 0x2c) : QColor(0x8e, 0x8e, 0x8e);
    if (hovered && enabled) {
        top = top.lighter(112);
        bottom = bottom.lighter(112);
    }
    QLinearGradient body(r.topLeft(), r.bottomLeft());
    body.setColorAt(0.0, top);
    body.setColorAt(1.0, bottom);
    painter.setBrush(inlineFill(painter, body));
    painter.setPen(QPen(enabled ? QColor(0x14, 0x55, 0x1a) : QColor(0x70, 0x70, 0x70), 1.2));
    painter.drawRoundedRect(r, radius, radius);
    // gloss
    QRectF gloss = r.adjusted(4, 3, -4, -r.height() * 0.5);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0.0, QColor(255, 255, 255, 120));
    shine.setColorAt(1.0, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, shine));
    painter.drawRoundedRect(gloss, radius * 0.7, radius * 0.7);

    // a tile on the left, the words on the right
    const qreal tile = r.height() * 0.62;
    painter.save();
    painter.translate(r.left() + 10 + tile / 2.0, r.center().y());
    painter.rotate(-8);
    paintLetterTile(painter, QRectF(-tile / 2.0, -tile / 2.0, tile, tile), QStringLiteral("Z"));
    painter.restore();

    const int textSize = int(r.height() * 0.3);
    const QRectF text = r.adjusted(tile + 16, 0, -6, 0);
    painter.setPen(QColor(0, 0, 0, 90));
    drawScaledText(painter, text.translated(1, 1), Qt::AlignCenter, QStringLiteral("START\nGAME"),
                   letteringFont(), textSize);
    painter.setPen(Qt::white);
    drawScaledText(painter, text, Qt::AlignCenter, QStringLiteral("START\nGAME"),
                   letteringFont(), textSize);
    painter.restore();
}

QPixmap render(const Painter &paint, QSize logicalSize, qreal devicePixelRatio,
               const QColor &ground)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(QSize(int(std::ceil(logicalSize.width() * ratio)),
                         int(std::ceil(logicalSize.height() * ratio))));
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(ground);
    QPainter painter(&pixmap);
    paintInBands(painter, QRect(QPoint(0, 0), logicalSize),
                 [&] { paint(painter, QRectF(QPointF(0, 0), QSizeF(logicalSize))); });
    return pixmap;
}

} // namespace zwonky::artwork
