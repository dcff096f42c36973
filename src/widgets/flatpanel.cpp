#include "widgets/flatpanel.h"
#include "widgets/inlinefill.h"

#include "widgets/artwork.h"

#include <QPainter>

namespace zwonky {

FlatPanel::FlatPanel(QWidget *parent)
    : QFrame(parent), m_fill(artwork::panelColour()), m_border(artwork::panelBorderColour())
{
    m_fill.setAlpha(240);
    setFrameShape(QFrame::NoFrame);
}

void FlatPanel::setFill(const QColor &colour)
{
    m_fill = colour;
    update();
}

void FlatPanel::setBorder(const QColor &colour)
{
    m_border = colour;
    update();
}

void FlatPanel::setRadius(qreal radius)
{
    m_radius = radius;
    update();
}

void FlatPanel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(m_border.isValid() ? QPen(m_border, 1.0) : QPen(Qt::NoPen));
    painter.setBrush(inlineFill(painter, m_fill));
    painter.drawRoundedRect(r, m_radius, m_radius);
}

} // namespace zwonky
