#include "widgets/flatbutton.h"
#include "widgets/inlinefill.h"

#include "widgets/focusring.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

namespace zwonky {

FlatButton::FlatButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent), m_accent(0x3a, 0x78, 0xc2)
{
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setBold(true);
    setFont(f);
}

void FlatButton::setAccent(const QColor &colour)
{
    m_accent = colour;
    update();
}

void FlatButton::setKeyLetter(QChar letter)
{
    m_keyLetter = letter;
    update();
}

QString FlatButton::paintedText() const
{
    QString shown = text();
    if (m_keyLetter.isNull() || shown.contains(QLatin1Char('&')))
        return shown;
    const qsizetype at = shown.indexOf(m_keyLetter, 0, Qt::CaseInsensitive);
    if (at >= 0)
        shown.insert(at, QLatin1Char('&'));
    return shown;
}

QSize FlatButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 20, metrics.height() + 10};
}

void FlatButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QPushButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QPushButton::leaveEvent(event);
}

void FlatButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor base = isEnabled() ? m_accent : QColor(0xb0, 0xb0, 0xb0);
    if (isEnabled() && (isDown() || isChecked()))
        base = base.darker(125);
    else if (isEnabled() && m_hovered)
        base = base.lighter(115);
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -1.5, -1.5);
    const qreal radius = qMin(6.0, r.height() / 2.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(inlineFill(painter, QColor(0, 0, 0, 60)));
    painter.drawRoundedRect(r.translated(0.8, 1.0), radius, radius);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0.0, base.lighter(118));
    fill.setColorAt(1.0, base);
    painter.setBrush(inlineFill(painter, fill));
    painter.setPen(QPen(base.darker(140), 1.0));
    painter.drawRoundedRect(r, radius, radius);
    if (hasFocus())
        paintFocusRing(painter, r, radius);
    painter.setPen(isEnabled() ? Qt::white : QColor(0xee, 0xee, 0xee));
    painter.setFont(font());
    painter.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, paintedText());
}

} // namespace zwonky
