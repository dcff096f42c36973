#include "widgets/spinedit.h"

#include <QLineEdit>
#include <QLocale>

namespace zwonky {

SpinEdit::SpinEdit(QWidget *parent) : QSpinBox(parent)
{
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State SpinEdit::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos);
    const QChar decimal = locale().decimalPoint().isEmpty() ? QLatin1Char('.')
                                                            : locale().decimalPoint().at(0);
    for (const QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') && c != decimal)
            return QValidator::Invalid;
    }
    // Anything made of those characters may stand while typing; leaving the
    // box puts it right.
    bool ok = false;
    const int value = input.toInt(&ok);
    return ok && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                          : QValidator::Intermediate;
}

int SpinEdit::clamped(const QString &text) const
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    qlonglong value = trimmed.toLongLong(&ok);
    if (!ok) {
        // "12.5" or "+-": take the leading number, else keep the current value.
        const double d = locale().toDouble(trimmed, &ok);
        if (!ok)
            return QSpinBox::value();
        value = qlonglong(d);
    }
    return int(qBound(qlonglong(minimum()), value, qlonglong(maximum())));
}

int SpinEdit::valueFromText(const QString &text) const { return clamped(text); }

void SpinEdit::fixup(QString &input) const { input = QString::number(clamped(input)); }

void SpinEdit::clampText()
{
    const int value = clamped(lineEdit()->text());
    setValue(value);
    // setValue leaves the text alone when the value did not change.
    lineEdit()->setText(textFromValue(value));
}

void SpinEdit::focusOutEvent(QFocusEvent *event)
{
    clampText();
    QSpinBox::focusOutEvent(event);
}

void SpinEdit::stepBy(int steps)
{
    const int value = clamped(lineEdit()->text());
    setValue(value);
    QSpinBox::stepBy(steps);
}

} // namespace zwonky
