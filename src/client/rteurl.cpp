#include "client/rteurl.h"
#include "widgets/plaintext.h"

#include <QAbstractTextDocumentLayout>
#include <QDesktopServices>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

namespace zwonky {

namespace {

bool isSeparator(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool isLinkEnd(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'/' || (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z');
}

// The text of the paragraph that holds a position, with its paragraph break
// as a line feed, and where that paragraph starts. A word never crosses a
// paragraph break, so this is all the link search needs to see.
QString paragraphAround(const QTextDocument *document, qsizetype position, qsizetype *offset)
{
    const QTextBlock block = document->findBlock(static_cast<int>(position));
    if (!block.isValid()) {
        *offset = 0;
        return {};
    }
    *offset = block.position();
    QString text = block.text();
    if (block.next().isValid())
        text.append(QLatin1Char('\n'));
    return text;
}

// The character under a viewport point, or -1 when the point is not over
// any character of the text.
qsizetype characterAt(const QTextEdit *control, const QPoint &point)
{
    const QPoint inDocument(point.x() + control->horizontalScrollBar()->value(),
                            point.y() + control->verticalScrollBar()->value());
    QTextDocument *document = control->document();
    int position = document->documentLayout()->hitTest(inDocument, Qt::ExactHit);
    if (position < 0)
        return -1;
    // The hit is the nearest caret position; the character under the point
    // is the one before it when the point lies left of that caret.
    QTextCursor cursor(document);
    cursor.setPosition(position);
    if (position > 0 && point.x() < control->cursorRect(cursor).left())
        --position;
    if (position >= document->characterCount() - 1)
        return -1;
    return position;
}

} // namespace

qsizetype leftWordBreak(QStringView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    while (position > 0 && !isSeparator(text.at(position - 1)))
        --position;
    return position;
}

qsizetype rightWordBreak(QStringView text, qsizetype position)
{
    position = std::clamp<qsizetype>(position, 0, text.size());
    while (position < text.size() && !isSeparator(text.at(position)))
        ++position;
    while (position < text.size() && isSeparator(text.at(position)))
        ++position;
    return position;
}

bool GetURLInRange(QStringView text, CharRange &range, QString &url)
{
    if (range.start < 0 || range.start > text.size())
        return false;
    TDRMTextRange fetched;
    fetched.chrg = range;
    if (fetched.chrg.start == fetched.chrg.end) {
        fetched.chrg.start = leftWordBreak(text, fetched.chrg.start);
        fetched.chrg.end = rightWordBreak(text, fetched.chrg.start);
    } else {
        fetched.chrg.end += 1;
    }
    fetched.chrg.start = std::clamp<qsizetype>(fetched.chrg.start, 0, text.size());
    fetched.chrg.end = std::clamp<qsizetype>(fetched.chrg.end, fetched.chrg.start, text.size());
    fetched.text = text.mid(fetched.chrg.start, fetched.chrg.end - fetched.chrg.start).toString();
    const qsizetype nul = fetched.text.indexOf(QChar(u'\0'));
    if (nul >= 0)
        fetched.text.truncate(nul);
    if (fetched.text.isEmpty())
        return false;

    // The word runs from the range start to the next separator, which it keeps.
    const QString &t = fetched.text;
    qsizetype wordEnd = 0;
    while (wordEnd < t.size() && !isSeparator(t.at(wordEnd)))
        ++wordEnd;
    const QString word = t.left(wordEnd + 1);
    const QString lower = word.toLower();

    qsizetype p = -1;
    qsizetype prefixLength = 0;
    for (const char *prefix : URLPrefixes) {
        const QLatin1String candidate(prefix);
        p = lower.indexOf(candidate);
        if (p >= 0) {
            prefixLength = candidate.size();
            break;
        }
    }
    if (p < 0)
        return false;

    qsizetype e = lower.indexOf(QLatin1Char('\n'), p);
    if (e < 0)
        e = lower.size() - 1;
    while (e > p && !isLinkEnd(lower.at(e)))
        --e;
    const qsizetype length = e - p + 1;
    if (length <= prefixLength)
        return false;

    url = word.mid(p, length);
    range.start = fetched.chrg.start + p;
    range.end = range.start + length;
    return true;
}

QList<CharRange> findLinks(QStringView text)
{
    QList<CharRange> links;
    qsizetype word = 0;
    while (word < text.size()) {
        // Each word is looked at once: it starts at `word`, so the finder
        // neither scans back nor past the next separator run.
        const qsizetype next = rightWordBreak(text, word);
        CharRange range{word, word};
        QString url;
        if (GetURLInRange(text, range, url) && range.end > range.start)
            links.append(range);
        if (next <= word)
            break;
        word = next;
    }
    return links;
}

bool GetURLInRange(const QTextEdit *control, CharRange &range, QString &url)
{
    qsizetype offset = 0;
    const QString paragraph = paragraphAround(control->document(), range.start, &offset);
    CharRange local{range.start - offset, range.end - offset};
    if (!GetURLInRange(paragraph, local, url))
        return false;
    range = {local.start + offset, local.end + offset};
    return true;
}

bool URLAtPoint(const QTextEdit *control, int x, int y, CharRange *range, QString *url)
{
    const qsizetype position = characterAt(control, QPoint(x, y));
    if (position < 0)
        return false;
    qsizetype offset = 0;
    const QString paragraph = paragraphAround(control->document(), position, &offset);
    CharRange local;
    local.start = leftWordBreak(paragraph, position - offset);
    local.end = rightWordBreak(paragraph, local.start);
    QString found;
    if (!GetURLInRange(paragraph, local, found))
        return false;
    if (range)
        *range = {local.start + offset, local.end + offset};
    if (url)
        *url = found;
    return true;
}

QUrl urlForLink(const QString &link)
{
    if (link.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QStringLiteral("http://") + link, QUrl::TolerantMode);
    return QUrl(link, QUrl::TolerantMode);
}

bool opensWithoutAsking(const QUrl &address)
{
    const QString scheme = address.scheme().toLower();
    return address.isValid()
        && (scheme == QLatin1String("http") || scheme == QLatin1String("https")
            || scheme == QLatin1String("mailto"));
}

bool askToOpenLink(QWidget *parent, const QString &link)
{
    const auto box = plaintext::box(QMessageBox::Warning, QStringLiteral("Zwonky"),
                                    QStringLiteral("Open this link?\n\n%1\n\nIt is not a web page or "
                                                   "an e-mail address: it may open a file or start a "
                                                   "program on this computer.")
                                        .arg(link),
                                    QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box->exec() == QMessageBox::Yes;
}

bool OpenURLAtPoint(QTextEdit *control, int x, int y, const UrlOpener &opener,
                    const LinkAsker &asker)
{
    CharRange range;
    QString link;
    if (!URLAtPoint(control, x, y, &range, &link))
        return false;
    QTextCursor selection(control->document());
    selection.setPosition(static_cast<int>(range.start));
    selection.setPosition(static_cast<int>(range.end), QTextCursor::KeepAnchor);
    control->setTextCursor(selection);
    const QUrl address = urlForLink(link);
    if (!opensWithoutAsking(address)) {
        const bool open = asker ? asker(link) : askToOpenLink(control->window(), link);
        if (!open)
            return true;
    }
    if (opener)
        opener(address);
    else
        QDesktopServices::openUrl(address);
    return true;
}

LinkPointer::LinkPointer(QTextEdit *log) : QObject(log)
{
    log->viewport()->setMouseTracking(true);
    log->viewport()->installEventFilter(this);
}

bool LinkPointer::eventFilter(QObject *watched, QEvent *event)
{
    // Once the log's own destructor has run it is no text edit any more and
    // the cast fails: the events that reach the viewport while the rest of
    // the log is torn down (deactivation, hiding, destruction) are let pass.
    QTextEdit *log = qobject_cast<QTextEdit *>(parent());
    if (!log || watched != log->viewport())
        return false;
    if (event->type() == QEvent::MouseMove) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint at = mouse->position().toPoint();
        log->viewport()->setCursor(URLAtPoint(log, at.x(), at.y()) ? Qt::PointingHandCursor
                                                                    : Qt::ArrowCursor);
    } else if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QPoint at = mouse->position().toPoint();
            // A link taken keeps its selection: the log must not move the
            // caret to the click.
            if (OpenURLAtPoint(log, at.x(), at.y(), m_opener, m_asker)) {
                event->accept();
                return true;
            }
        }
    }
    return false;
}

} // namespace zwonky
