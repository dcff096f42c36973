#pragma once

// Reading the chat log as a player sees it: the runs of its last line, each
// with its text, weight and colour.

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

namespace zwonky::testing {

struct Run
{
    QString text;
    bool bold;
    QColor colour;
};

// The runs of the last line of the log.
inline QList<Run> lastLine(const QTextEdit *log)
{
    QTextBlock block = log->document()->lastBlock();
    while (block.isValid() && block.text().isEmpty())
        block = block.previous();
    QList<Run> runs;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        runs.append({fragment.text(), fragment.charFormat().fontWeight() >= QFont::Bold,
                     fragment.charFormat().foreground().color()});
    }
    return runs;
}

} // namespace zwonky::testing
