#pragma once

// Stand-ins for what would open on the desktop: the message box, the web
// browser and the colour dialog. Each hands out the function a window takes
// in its place and keeps what the window asked for, for the tests to read.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace zwonky::testing {

// The message box: keeps every text, opens nothing.
class RecordingMessageBox
{
public:
    std::function<void(const QString &)> show()
    {
        return [this](const QString &text) { texts << text; };
    }
    QStringList texts;
};

// The web browser: keeps every address. `opens` is what an opener that
// reports success answers (an opener without an answer ignores it).
class RecordingUrlOpener
{
public:
    std::function<bool(const QUrl &)> opener()
    {
        return [this](const QUrl &url) {
            opened << url;
            return opens;
        };
    }
    QList<QUrl> opened;
    bool opens = true;
};

// The colour dialog: answers with `answer` (nothing stands for Cancel) and
// keeps the colour it was opened on and its title.
class ScriptedColourChooser
{
public:
    std::function<std::optional<QColor>(const QColor &, const QString &)> chooser()
    {
        return [this](const QColor &initial, const QString &title) {
            offered << initial;
            titles << title;
            return answer;
        };
    }
    std::optional<QColor> answer;
    QList<QColor> offered;
    QStringList titles;
};

} // namespace zwonky::testing
