#include "client/wordcolumn.h"

#include "widgets/scaledtext.h"

#include <QFontMetrics>
#include <QPainter>

namespace zwonky {

WordColumn::WordColumn(int length, QWidget *parent) : QPlainTextEdit(parent), m_length(length)
{
    setObjectName(QStringLiteral("list_%1").arg(length));
    setProperty("tag", length);
    setReadOnly(true);
    setFocusPolicy(Qt::ClickFocus); // no tab stop
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFrameShape(QFrame::Box);
    document()->setDocumentMargin(2);
    applyColours();
    // The text edit repaints only the lines that changed; the length mark
    // behind an empty column must go (and come back) as a whole.
    connect(this, &QPlainTextEdit::textChanged, viewport(), qOverload<>(&QWidget::update));
}

QStringList WordColumn::words() const
{
    QStringList lines = toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int WordColumn::lineCount() const
{
    return int(words().size());
}

void WordColumn::appendWord(const QString &word)
{
    if (toPlainText().isEmpty())
        setPlainText(word);
    else
        appendPlainText(word);
}

void WordColumn::setFlatColour(const QColor &colour)
{
    m_flat = colour;
    applyColours();
}

void WordColumn::setFocusedColour(const QColor &colour)
{
    m_focused = colour;
    applyColours();
}

void WordColumn::setFontColour(const QColor &colour)
{
    m_font = colour;
    applyColours();
}

void WordColumn::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    applyColours();
}

void WordColumn::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    applyColours();
}

int WordColumn::heightForLines(int lines, const QFont &font)
{
    const QFontMetrics metrics(font);
    // Frame and document margin on both sides, one line height per line.
    return lines * metrics.lineSpacing() + 2 * 2 + 2 * 2 + 1;
}

// An empty column shows its word length faintly, so the player knows which
// column is which before the first word arrives.
void WordColumn::paintEvent(QPaintEvent *event)
{
    QPlainTextEdit::paintEvent(event);
    if (!document()->isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(QColor(128, 128, 128, 70));
    // The column's own type, grown: the mark needs no face of its own.
    drawScaledText(painter, viewport()->rect(), Qt::AlignCenter, QString::number(m_length), font(),
                   qMax(12, viewport()->height() / 2));
}

void WordColumn::applyColours()
{
    QPalette colours = palette();
    const QColor background = hasFocus() ? m_focused : m_flat;
    colours.setColor(QPalette::Base, background);
    colours.setColor(QPalette::Text, m_font);
    setPalette(colours);
}

} // namespace zwonky
