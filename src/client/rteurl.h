#pragma once

// Links in the chat log: finding the link under the mouse pointer and
// opening it. A link is a word that holds one of URLPrefixes; it runs from
// the prefix to the last "/", digit or letter of the word, so a link that
// ends a sentence loses the full stop and a link in brackets loses the
// closing bracket. Positions count characters from the start of the log's
// text, paragraph breaks counting one.

#include <QList>
#include <QObject>
#include <QString>
#include <QStringView>
#include <QUrl>

#include <array>
#include <functional>

class QTextEdit;
class QWidget;

namespace zwonky {

// Looked for in this order; the first that occurs in the word wins.
inline constexpr std::array<const char *, 8> URLPrefixes{
    "http://", "ftp://", "file://", "gopher://", "telnet://", "news:", "mailto:", "www.",
};

// A range of characters [start, end).
struct CharRange
{
    qsizetype start = 0;
    qsizetype end = 0;
};

// A range together with the characters fetched from it.
struct TDRMTextRange
{
    CharRange chrg;
    QString text;
};

// Words are separated by blanks, carriage returns and line feeds.
qsizetype leftWordBreak(QStringView text, qsizetype position);  // start of the word at position
qsizetype rightWordBreak(QStringView text, qsizetype position); // start of the next word

// Finds the link in a range of text. An empty range is first widened to the
// word at its start; otherwise its end moves one character further. On
// success the range becomes exactly the link's characters.
bool GetURLInRange(QStringView text, CharRange &range, QString &url);
// The same over the log's document.
bool GetURLInRange(const QTextEdit *control, CharRange &range, QString &url);

// Every link of a text, in order, each as the range of its characters. One
// pass over the text: the cost grows with its length, whatever it holds.
QList<CharRange> findLinks(QStringView text);

// Whether a link lies under a point in the viewport's coordinates; if so
// its range and text are returned when asked for.
bool URLAtPoint(const QTextEdit *control, int x, int y, CharRange *range = nullptr,
                QString *url = nullptr);

using UrlOpener = std::function<void(const QUrl &)>;
// Asked before a link opens that is no web page or e-mail address (any
// peer may put a file:// or telnet:// link into the chat); true opens it.
using LinkAsker = std::function<bool(const QString &link)>;
// The address to hand to the desktop for a link's text ("www." gets http).
QUrl urlForLink(const QString &link);
// Whether an address opens with one click: http, https and mailto do, any
// other scheme is asked about first.
bool opensWithoutAsking(const QUrl &address);
// The question box: names the link and answers "No" unless the player
// chooses "Yes".
bool askToOpenLink(QWidget *parent, const QString &link);
// Opens the link under a point: selects its characters in the log and hands
// it to the opener (the desktop's handler by default), after asking through
// the asker (the question box by default) when its scheme calls for it.
// Returns whether a link was found, opened or not.
bool OpenURLAtPoint(QTextEdit *control, int x, int y, const UrlOpener &opener,
                    const LinkAsker &asker = {});

// Watches the log's viewport: the hand cursor over a link, a left click on a
// link opens it. It is a child of the log and looks at it only while the
// log is whole: events that reach the viewport while the log is being
// destroyed are let pass.
class LinkPointer : public QObject
{
    Q_OBJECT
public:
    explicit LinkPointer(QTextEdit *log);
    void setOpener(UrlOpener opener) { m_opener = std::move(opener); }
    void setAsker(LinkAsker asker) { m_asker = std::move(asker); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    UrlOpener m_opener;
    LinkAsker m_asker;
};

} // namespace zwonky
