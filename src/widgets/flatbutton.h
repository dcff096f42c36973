#pragma once

#include <QColor>
#include <QPushButton>

namespace zwonky {

// A flat, rounded push button in one accent colour; lighter under the
// pointer, darker while pressed, grey when disabled.
class FlatButton : public QPushButton
{
    Q_OBJECT
public:
    explicit FlatButton(const QString &text, QWidget *parent = nullptr);

    void setAccent(const QColor &colour);
    // Underlines the first `letter` of the caption, the key that works the
    // button (the caption itself stays as it is).
    void setKeyLetter(QChar letter);
    // The caption as painted, with "&" before the key's letter.
    QString paintedText() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QColor m_accent;
    QChar m_keyLetter;
    bool m_hovered = false;
};

} // namespace zwonky
