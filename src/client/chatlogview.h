#pragma once

// The chat log (`mainchat`): lines go in whole, their head in bold and
// their links underlined, the oldest go when the log is long, and the view
// follows the newest line unless the player holds it (Chat Scroll Off).

#include <QTextEdit>

class QMimeData;
class QTextCharFormat;
class QTextCursor;

namespace zwonky {

class ChatLogView : public QTextEdit
{
public:
    // A typed line is at most as long as the entry takes.
    static constexpr int LongestTypedLine = 32767;
    // What the log shows of one line: many rows of the widest log, far more
    // than a player reads in one line. A longer line shows its start and
    // how much of it is left out, so that laying it out costs no more than
    // that whatever the host sends, and one line cannot push the rest of the
    // chat out of view.
    static constexpr int ShownPerLine = 2000;
    // The log keeps the newest lines, many screenfuls of them; older ones go,
    // so an evening of chat does not grow the window's memory. They go a
    // batch at a time: every removal at the top lays the whole log out again.
    static constexpr int MaxLines = 1000;
    static constexpr int TrimBatch = 200;

    explicit ChatLogView(QWidget *parent = nullptr);

    // Adds one line in the colour 0x00BBGGRR: the text up to its first ":"
    // in bold. keepView: the line at the top of the view stays there.
    // A line longer than ShownPerLine is shown cut (see shownText).
    void appendLine(const QString &line, quint32 colour, bool keepView);
    // The log's type size; the view follows as after a new line.
    void setPointSize(int points, bool keepView);

protected:
    // Copies the selection as plain text only.
    QMimeData *createMimeDataFromSelection() const override;

    // What the log shows of a line: the line itself, or its first
    // ShownPerLine characters, an ellipsis and the count of those left out.
    static QString shownText(const QString &line);

private:
    void trim();
    static void insertBody(QTextCursor &at, const QString &body, const QTextCharFormat &format);
};

} // namespace zwonky
