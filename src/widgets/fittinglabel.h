#pragma once

#include <QFont>
#include <QLabel>

namespace zwonky {

// A one-line label that shows its whole text: a text too long for the label
// is drawn in a smaller type, down to a smallest size, and only beyond that
// cut with an ellipsis (its tool tip then holds the whole text). The text
// itself is never changed.
class FittingLabel : public QLabel
{
    Q_OBJECT
public:
    explicit FittingLabel(const QString &text, QWidget *parent = nullptr);

    // The type the text is drawn in now (the label's own font when it fits).
    QFont fittedFont() const;
    // The width the text may take.
    int textWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr qreal SmallestPointSize = 6.0;
};

} // namespace zwonky
