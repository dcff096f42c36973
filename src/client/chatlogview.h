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
    // A typed line is at most as long as the entry takes; a relayed line adds
    // the sender's name and a few words of the server's to it.
    static constexpr int LongestTypedLine = 32767;
    static constexpr int LongestLine = LongestTypedLine + 1024;
    // The log keeps the newest lines, many screenfuls of them; older ones go,
    // so an evening of chat does not grow the window's memory. They go a
    // batch at a time: every removal at the top lays the whole log out again.
    static constexpr int MaxLines = 1000;
    static constexpr int TrimBatch = 200;

    explicit ChatLogView(QWidget *parent = nullptr);

    // Adds one line in the colour 0x00BBGGRR: the text up to its first ":"
    // in bold. keepView: the line at the top of the view stays there.
    void appendLine(const QString &line, quint32 colour, bool keepView);
    // The log's type size; the view follows as after a new line.
    void setPointSize(int points, bool keepView);

protected:
    // Copies the selection as plain text only.
    QMimeData *createMimeDataFromSelection() const override;

private:
    void trim();
    static void insertBody(QTextCursor &at, const QString &body, const QTextCharFormat &format);
};

} // namespace zwonky
