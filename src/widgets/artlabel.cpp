#include "widgets/artlabel.h"

#include "widgets/focusring.h"

#include <QPainter>

namespace zwonky {

ArtLabel::ArtLabel(artwork::Painter painter, QSize size, QWidget *parent)
    : QLabel(parent), m_painter(std::move(painter)), m_size(size)
{
    resize(size);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ArtLabel::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    m_painter(painter, QRectF(contentsRect()));
}

PictureButton::PictureButton(Painter painter, QSize size, QWidget *parent)
    : QPushButton(parent), m_painter(std::move(painter)), m_size(size)
{
    resize(size);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab and shown with a focus ring; a click does not take the
    // keyboard away from where it was.
    setFocusPolicy(Qt::TabFocus);
    setFlat(true);
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    m_painter(painter, QRectF(rect()), m_hovered, isDown(), isEnabled());
    if (hasFocus())
        paintFocusRing(painter, QRectF(rect()), 10);
}

void PictureButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void PictureButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

} // namespace zwonky
