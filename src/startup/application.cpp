#include "startup/application.h"

#include "client/chatform.h"
#include "client/errorreport.h"
#include "client/qtsoundplayer.h"
#include "net/zwonkyerror.h"
#include "server/serverform.h"
#include "session/clientsession.h"
#include "tally/tallylistform.h"
#include "windows/aboutform.h"
#include "windows/downloadform.h"
#include "windows/gamestart.h"
#include "windows/helpform.h"
#include "windows/phrasesform.h"
#include "windows/spylistform.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QEvent>
#include <QTimer>

#include <utility>

namespace zwonky {

ZwonkyApplication::ZwonkyApplication(Options options, QObject *parent)
    : QObject(parent),
      m_options(std::move(options)),
      // One generator for the process, seeded from the clock at start.
      m_random(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()))
{
    m_sound = std::make_unique<QtSoundPlayer>();

    m_chat = std::make_unique<Tchat>(nullptr, m_options.beforeText);
    m_tally = std::make_unique<Ttallylist>();
    m_about = std::make_unique<Tabout>();
    m_help = std::make_unique<Thelp>();
    m_phrases = std::make_unique<Tphrases>();
    m_server = std::make_unique<TServer>(nullptr, m_options.wordList);
    m_spyList = std::make_unique<Tspylist>();
    m_gameStart = std::make_unique<Tgamestartform>();
    m_download = std::make_unique<Tdownload>();

    m_server->setRandom(&m_random);
    if (!m_options.dataFolder.isEmpty()) {
        m_chat->setSettingsFolder(m_options.dataFolder);
        m_tally->setTallyFolder(m_options.dataFolder);
    }
    m_help->setAboutWindow(m_about.get());
    if (m_options.lobbyPicture)
        m_download->setAdvertSource(std::exchange(m_options.lobbyPicture, {}));

    Tchat *chat = m_chat.get();
    m_tally->setBoardNamesSource([chat] {
        QStringList names;
        for (int seat = 1; seat <= 6; ++seat) {
            if (seat == chat->ownSeat())
                continue;
            names << chat->session().players().shownName(seat);
        }
        return names;
    });
    m_tally->loadtally();

    m_chat->setRandom(&m_random);
    m_chat->setSoundPlayer(m_sound.get());
    m_chat->setTally(m_tally.get());
    m_chat->setGamePort(m_options.gamePort);
    m_chat->setParameters(m_options.parameters);
    TServer *server = m_server.get();
    const QString port = m_options.gamePort;
    Tchat *client = m_chat.get();
    m_chat->setHostStarter([server, client, port] {
        // Seat 1, with the host's powers, is kept for the connection the own
        // client makes next; it is known before anything can connect.
        server->reserveHostSeat(client->bindOwnConnection());
        server->startListening(port);
        // Port "0" (tests) listens on any free port: the own client follows it.
        client->setGamePort(QString::number(server->listeningPort()));
    });
    CompanionWindows windows;
    windows.tally = m_tally.get();
    windows.gameStart = m_gameStart.get();
    windows.spyList = m_spyList.get();
    windows.phrases = m_phrases.get();
    windows.help = m_help.get();
    windows.about = m_about.get();
    windows.download = m_download.get();
    m_chat->setCompanions(windows);

    connect(m_download.get(), &Tdownload::exitRequested, this, &ZwonkyApplication::closeMainWindow);
    // The server's errors go to the same report as the client's: one box at a time.
    connect(m_server.get(), &TServer::errorReported, this, [client](const QString &text) {
        client->errorReport().show(ErrorReport::Kind::Error, text);
    });
    m_chat->installEventFilter(this);
}

ZwonkyApplication::~ZwonkyApplication()
{
    settleForExit();
    // The main window goes first: nothing may call into a window already gone.
    m_chat.reset();
    m_download.reset();
    m_gameStart.reset();
    m_spyList.reset();
    m_server.reset();
    m_phrases.reset();
    m_help.reset();
    m_about.reset();
    m_tally.reset();
}

bool ZwonkyApplication::settleForExit()
{
    if (m_settled)
        return m_onlyMemoryLeft;
    m_settled = true;
    m_chat->removeEventFilter(this);
    // The save lets events run between its blocks, the server's included:
    // words are looked up until it is done.
    const bool tallyWritten = m_tally->savetally();
    m_server->closeWordList();
    // A running download still has its file to finish or remove.
    m_onlyMemoryLeft = tallyWritten && !m_download->isDownloading();
    return m_onlyMemoryLeft;
}

void ZwonkyApplication::start()
{
    m_chat->show();
    const QString dictionaryError = m_server->dictionaryError();
    if (!dictionaryError.isEmpty())
        m_chat->errorReport().show(ErrorReport::Kind::Error, dictionaryError);
}

void ZwonkyApplication::raiseMainWindow()
{
    if (m_chat->isMinimized())
        m_chat->showNormal();
    m_chat->raise();
    m_chat->activateWindow();
}

void ZwonkyApplication::closeMainWindow()
{
    m_chat->close();
}

void ZwonkyApplication::stopFromSignal()
{
    const auto toErrorOutput = [](const QString &text) { qWarning().noquote() << text; };
    m_chat->errorReport().setBoxShower(
        [toErrorOutput](ErrorReport::Kind, const QString &text, const std::function<void()> &dismissed) {
            toErrorOutput(text);
            dismissed();
        });
    m_tally->setErrorReporter(toErrorOutput);
    closeMainWindow();
}

void ZwonkyApplication::finishWhenClosed()
{
    if (!m_chat || m_chat->isVisible())
        return;
    // A box still open (an error while closing) is read before the end.
    ErrorReport &report = m_chat->errorReport();
    if (report.isOpen()) {
        connect(&report, &ErrorReport::closed, this, &ZwonkyApplication::finishWhenClosed,
                Qt::UniqueConnection);
        return;
    }
    emit finished();
}

bool ZwonkyApplication::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_chat.get() && event->type() == QEvent::Close) {
        // The close may still be refused by the window; look once it is handled.
        QTimer::singleShot(0, this, [this] { finishWhenClosed(); });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zwonky
