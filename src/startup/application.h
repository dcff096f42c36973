#pragma once

#include <QImage>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zwonky {

class QtSoundPlayer;
class Tabout;
class Tchat;
class Tdownload;
class Tgamestartform;
class Thelp;
class Tphrases;
class TServer;
class WorkingFileAhead;
class Tspylist;
class Ttallylist;

// Creates every window of the process in the fixed order (the main window
// first), wires them together and starts the role that the command line
// asks for. Owns all of them for the life of the process.
class ZwonkyApplication : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        QStringList parameters;                  // the command line, program name left out
        QString gamePort = QStringLiteral("7772");
        QString dataFolder;                      // settings and tally; empty = beside the program
        // The word list's working file provided ahead, or null: the game
        // server's dictionary provides it when the server is made.
        WorkingFileAhead *wordList = nullptr;
        // The download window's picture decoded ahead, or empty: the window
        // decodes it when it is first shown.
        std::function<QImage()> lobbyPicture;
        // Called before the first window control that measures text is made.
        std::function<void()> beforeText;
    };

    explicit ZwonkyApplication(Options options, QObject *parent = nullptr);
    ~ZwonkyApplication() override;

    // Shows the main window; its first showing processes the command line.
    void start();
    // Brings the main window to the front (a second start of the program).
    void raiseMainWindow();
    // Closes the main window as File > Exit does.
    void closeMainWindow();
    // The stop a signal asks for (a logout, a terminal, a service manager):
    // the main window closes as by File > Exit, but nobody may be at the
    // screen, so what would be shown in a box on the way out (a settings or
    // tally file that cannot be written) goes to the error output instead,
    // and the way out waits for no click.
    void stopFromSignal();
    // The end of the run, once the main loop is over: the tally is written
    // and the working word list removed. Returns whether the windows then
    // hold nothing but memory (no download is running, the tally was
    // written), so that the process may end without destroying them.
    // Destruction settles too; a second call only answers again.
    bool settleForExit();

    Tchat &chat() { return *m_chat; }
    TServer &server() { return *m_server; }

signals:
    // The main window was closed: the process ends.
    void finished();

private:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Ends the process once the main window is closed and no box is open.
    void finishWhenClosed();

    Options m_options;
    bool m_settled = false;
    bool m_onlyMemoryLeft = false;
    QRandomGenerator m_random;
    std::unique_ptr<QtSoundPlayer> m_sound;
    // Creation order: Tchat, Ttallylist, Tabout, Thelp, Tphrases, TServer,
    // Tspylist, Tgamestartform, Tdownload.
    std::unique_ptr<Tchat> m_chat;
    std::unique_ptr<Ttallylist> m_tally;
    std::unique_ptr<Tabout> m_about;
    std::unique_ptr<Thelp> m_help;
    std::unique_ptr<Tphrases> m_phrases;
    std::unique_ptr<TServer> m_server;
    std::unique_ptr<Tspylist> m_spyList;
    std::unique_ptr<Tgamestartform> m_gameStart;
    std::unique_ptr<Tdownload> m_download;
};

} // namespace zwonky
