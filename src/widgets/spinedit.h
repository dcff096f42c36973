#pragma once

#include <QSpinBox>

namespace zwonky {

// An integer box with arrows that, unlike a plain spin box, lets the player
// type any number: while typing only digits, "+", "-" and the decimal
// separator are taken, and the value is brought into range when the box
// loses the focus (200000 in a box up to 50000 becomes 50000). What the box
// holds is its text as shown, which may be briefly out of range or empty.
class SpinEdit : public QSpinBox
{
    Q_OBJECT
public:
    explicit SpinEdit(QWidget *parent = nullptr);

    // Brings the typed text into range now (what leaving the box does).
    void clampText();
    // The value the text shown stands for, brought into range (what leaving
    // the box would make of it).
    int shownValue() const { return clamped(text()); }

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    void fixup(QString &input) const override;
    void focusOutEvent(QFocusEvent *event) override;
    void stepBy(int steps) override;

private:
    int clamped(const QString &text) const;
};

} // namespace zwonky
