#include "client/chatlogview.h"

#include "client/colortext.h"
#include "client/rteurl.h"
#include "widgets/scaledtree.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace zwonky {

namespace {

// The log's scroll bar. Every new line moves its value and range, yet in a
// long log the handle rarely moves by a whole pixel: the bar is drawn again
// only when what it shows has changed.
class LogScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override
    {
        if (change != SliderOrientationChange && drawnNow() == m_drawn)
            return;
        QScrollBar::sliderChange(change);
    }

    void paintEvent(QPaintEvent *event) override
    {
        m_drawn = drawnNow();
        QScrollBar::paintEvent(event);
    }

private:
    struct Drawn
    {
        QRect handle;
        bool empty = false;
        bool operator==(const Drawn &) const = default;
    };

    Drawn drawnNow() const
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
                minimum() == maximum()};
    }

    Drawn m_drawn{QRect(), false}; // matches no real state: the first change draws
};

} // namespace

ChatLogView::ChatLogView(QWidget *parent) : QTextEdit(parent)
{
    setVerticalScrollBar(new LogScrollBar(Qt::Vertical, this));
}

void ChatLogView::appendLine(const QString &line, quint32 colour, bool keepView)
{
    // Cut before the log lays the line out and looks for its links.
    const QString text = shownText(line);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString head = colon >= 0 ? text.left(colon + 1) : QString();
    const QString body = colon >= 0 ? text.mid(colon + 1) : text;

    QScrollBar *scroll = verticalScrollBar();
    const QTextCursor caret = textCursor();
    const int firstVisible = scroll->value();
    // Where the line at the top of the view is, to keep it there when the
    // oldest lines go.
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    QTextCursor topLine;
    qreal topLineY = 0;
    if (keepView) {
        topLine = cursorForPosition(QPoint(0, 0));
        topLineY = layout->blockBoundingRect(topLine.block()).top();
    }

    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // One edit: the document lays the line out once, not once per link.
    end.beginEditBlock();
    QTextCharFormat format;
    format.setForeground(colorFromValue(colour));
    format.setFontWeight(QFont::Bold);
    end.insertText(head, format);
    format.setFontWeight(QFont::Normal);
    insertBody(end, body, format);
    end.insertBlock(QTextBlockFormat(), format);
    end.endEditBlock();
    trim();

    if (keepView) {
        setTextCursor(caret);
        const qreal droppedHeight = topLineY - layout->blockBoundingRect(topLine.block()).top();
        scroll->setValue(firstVisible - qRound(droppedHeight));
    } else {
        // The caret goes after the newest line; it is usually there already,
        // and setting it again would scroll and repaint for nothing.
        if (textCursor() != end)
            setTextCursor(end);
        scroll->setValue(scroll->maximum());
    }
}

void ChatLogView::setPointSize(int points, bool keepView)
{
    // The new size lays the log out again, which would leave its view at the
    // top: the newest line stays in view, or with Chat Scroll Off the line
    // that was at the top stays there.
    const int firstVisible = cursorForPosition(QPoint(0, 0)).position();
    QFont logFont = scaled::font(this);
    logFont.setPointSize(points);
    scaled::setFont(this, logFont);
    QScrollBar *scroll = verticalScrollBar();
    if (keepView) {
        QTextCursor top(document());
        top.setPosition(firstVisible);
        scroll->setValue(scroll->value() + cursorRect(top).top());
    } else {
        QTextCursor end(document());
        end.movePosition(QTextCursor::End);
        setTextCursor(end);
        scroll->setValue(scroll->maximum());
    }
}

QString ChatLogView::shownText(const QString &line)
{
    if (line.size() <= ShownPerLine)
        return line;
    // A surrogate pair is not split.
    qsizetype kept = ShownPerLine;
    if (line.at(kept - 1).isHighSurrogate())
        --kept;
    return line.left(kept) + QStringLiteral("\u2026 (%1 more characters)").arg(line.size() - kept);
}

QMimeData *ChatLogView::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(textCursor().selection().toPlainText());
    return data;
}

void ChatLogView::trim()
{
    // Each line is a block, and so is the empty one after the newest line.
    QTextDocument *log = document();
    const int lines = log->blockCount() - 1;
    if (lines <= MaxLines + TrimBatch)
        return;
    QTextCursor oldest(log);
    oldest.setPosition(log->findBlockByNumber(lines - MaxLines).position(), QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
}

void ChatLogView::insertBody(QTextCursor &at, const QString &body, const QTextCharFormat &format)
{
    // Links look like links, in the line's own colour, so a player sees
    // what a click will open.
    QTextCharFormat linkFormat = format;
    linkFormat.setFontUnderline(true);
    qsizetype done = 0;
    for (const CharRange &link : findLinks(body)) {
        at.insertText(body.mid(done, link.start - done), format);
        at.insertText(body.mid(link.start, link.end - link.start), linkFormat);
        done = link.end;
    }
    at.insertText(body.mid(done), format);
}

} // namespace zwonky
