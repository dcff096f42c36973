#pragma once

// One scale factor for a window whose controls are laid out in fixed
// logical pixels: the window may grow, and everything on it grows by the
// same factor. A logical rectangle is scaled edge by edge, so controls that
// touch at the logical size still touch at any factor. The factor is 1 at the
// logical size and never less.

#include <QFont>
#include <QObject>
#include <QRect>
#include <QSize>

namespace zwonky {

class BoardScale : public QObject
{
    Q_OBJECT
public:
    explicit BoardScale(QObject *parent = nullptr);

    qreal factor() const { return m_factor; }
    // Anything below 1, and anything that is no number, counts as 1.
    void setFactor(qreal factor);

    // The uniform factor at which an area of `logical` size fits into
    // `available`: the smaller of the two ratios, never below 1.
    static qreal fitting(QSize available, QSize logical);

    int length(int logical) const;
    QPoint point(QPoint logical) const;
    QSize size(QSize logical) const;
    QRect rect(const QRect &logical) const;
    // The font at the factor: the size grows in fractional points, so that
    // text keeps its proportion to the controls around it; a pixel-sized
    // font is converted at `dotsPerInch`.
    QFont font(const QFont &logical, qreal dotsPerInch) const;

signals:
    void changed(qreal factor);

private:
    qreal m_factor = 1.0;
};

} // namespace zwonky
