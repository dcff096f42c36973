#pragma once

#include "dictionary/workingfile.h"
#include "startup/sidethread.h"

#include <QImage>

#include <functional>
#include <future>
#include <optional>

namespace zwonky {

class FontConfigLoad;

// The work of a start that needs no window, done on a thread of its own
// while the windows are made. First Qt's font database is filled from the
// system's font configuration (loaded ahead by a FontConfigLoad, or now),
// which the first text a window measures would otherwise wait for on the
// one thread that builds the windows. Then the word list's working file is
// put in place for the game server's dictionary, and for a solo start the
// download window's picture is decoded.
//
// Qt's font database may be used from any thread: a window that wants a
// font before it is filled waits on the database's own lock and gets the
// fonts it would have got without this. The dictionary waits for the
// working file when it claims it.
//
// Needs the QGuiApplication to exist for its whole life, and is made only by
// the program that holds the guard of a single run: the working file is
// its own.
class StartupWorker
{
public:
    // With `fontConfig`, the font database is filled once that load is done;
    // it must outlive the worker. With `lobbyPicture`, the download window's
    // picture is decoded too.
    explicit StartupWorker(FontConfigLoad *fontConfig = nullptr, bool lobbyPicture = false);
    // Waits for the thread; a working file nobody claimed is removed.
    ~StartupWorker();

    StartupWorker(const StartupWorker &) = delete;
    StartupWorker &operator=(const StartupWorker &) = delete;

    // The working file, for the dictionary to claim.
    WorkingFileAhead *wordList() { return &m_wordList; }
    // The download window's picture, waited for when the function is called
    // (it hands it over once); empty when it was not asked for. Taken once;
    // the function may outlive the worker.
    std::function<QImage()> takeLobbyPicture();

private:
    WorkingFileAhead m_wordList;
    std::promise<QImage> m_pictureMade;
    std::future<QImage> m_picture;
    std::optional<SideThread> m_thread;
};

} // namespace zwonky
