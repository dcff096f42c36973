#pragma once

#include <QColor>
#include <QFrame>

namespace zwonky {

// A flat panel: a rounded card with a thin border laid over the cloth.
// Children are placed on it as on any frame.
class FlatPanel : public QFrame
{
    Q_OBJECT
public:
    explicit FlatPanel(QWidget *parent = nullptr);

    void setFill(const QColor &colour);
    void setBorder(const QColor &colour);
    void setRadius(qreal radius);
    QColor fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_fill;
    QColor m_border;
    qreal m_radius = 8;
};

} // namespace zwonky
