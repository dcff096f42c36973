#pragma once

#include "widgets/artwork.h"

#include <QLabel>
#include <QPushButton>

namespace zwonky {

// A label that shows one of the game's pictures, painted at the screen's
// resolution each time (no blurry scaling).
class ArtLabel : public QLabel
{
    Q_OBJECT
public:
    ArtLabel(artwork::Painter painter, QSize size, QWidget *parent = nullptr);
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    artwork::Painter m_painter;
    QSize m_size;
};

// A button that is a picture (the start picture): it answers hover and press.
class PictureButton : public QPushButton
{
    Q_OBJECT
public:
    using Painter = std::function<void(QPainter &, const QRectF &, bool hovered, bool pressed,
                                       bool enabled)>;
    PictureButton(Painter painter, QSize size, QWidget *parent = nullptr);
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Painter m_painter;
    QSize m_size;
    bool m_hovered = false;
};

} // namespace zwonky
