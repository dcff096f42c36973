#include "client/chatform.h"

#include "client/chatpane.h"
#include "client/computerseats.h"
#include "client/connectionnotice.h"
#include "client/errorreport.h"
#include "client/mainmenus.h"
#include "tally/tallyrecorder.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "session/clientsession.h"
#include "net/zwonkyerror.h"
#include "widgets/artlabel.h"
#include "widgets/artwork.h"
#include "windows/aboutform.h"
#include "windows/gamestart.h"
#include "windows/helpform.h"
#include "windows/spylistform.h"

#include <QAction>
#include <QCheckBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QPointer>
#include <QSpinBox>

#include <map>

namespace zwonky {

namespace {

// Colours in the 0x00BBGGRR order of the chat's colour texts.
constexpr quint32 NoticeBlue = 0xFF0000;
constexpr int PlayingSeats = 6;

} // namespace

// ---------------------------------------------------------------- building

void Tchat::buildMenus()
{
    m_menus = new MainMenus(menuBar(), this);
    connect(m_menus->startGame(), &QAction::triggered, this, [this] {
        runGuarded([this] { button_startClick(); });
    });
    connect(m_menus->exitProgram(), &QAction::triggered, this, &QWidget::close);
    for (QAction *item : {m_menus->classic(), m_menus->newSound()}) {
        connect(item, &QAction::triggered, this, [this, item] {
            runGuarded([this, item] { New1Click(item); });
        });
    }
    connect(m_menus->justWatch(), &QAction::triggered, this, [this](bool checked) {
        // The tick follows the server's answer, not the click.
        m_menus->justWatch()->setChecked(!checked);
        runGuarded([this] { JustWatch1Click(); });
    });
    connect(m_menus->viewTally(), &QAction::triggered, this, [this] {
        runGuarded([this] { ViewTally1Click(); });
    });
    connect(m_menus->spyList(), &QAction::triggered, this, [this] { showCompanion(m_windows.spyList); });
    connect(m_menus->phraseList(), &QAction::triggered, this, [this] { showCompanion(m_windows.phrases); });
    connect(m_menus->help(), &QAction::triggered, this, [this] { showCompanion(m_windows.help); });
    connect(m_menus->about(), &QAction::triggered, this, [this] { showCompanion(m_windows.about); });
    updateCompanionActions();
    setupComputerSeats();
}

void Tchat::updateCompanionActions()
{
    m_menus->showCompanionsPresent(m_windows.tally, m_windows.spyList, m_windows.phrases,
                                   m_windows.help, m_windows.about);
}

// ---------------------------------------------------------------- connection

void Tchat::setupLobbyLink()
{
    m_lobbyLink = new TSock(this);
    m_lobbyLink->setObjectName(QStringLiteral("Sock11"));
    m_lobbyLink->setHostName(QStringLiteral("127.0.0.1"));
    m_lobbyLink->setPortName(QStringLiteral("9001"));
    // Nothing is ever read from the lobby: whatever it sends is thrown away.
    m_lobbyLink->setDiscardInput(true);
}

quint16 Tchat::bindOwnConnection()
{
    return m_session->bindLocal();
}

int Tchat::ownSeat() const { return m_session->ownSeat(); }
bool Tchat::isConnected() const { return m_session->isConnected(); }
bool Tchat::isHosting() const { return m_session->isHosting(); }
int Tchat::currentTurnSeat() const { return m_session->currentSeat(); }

void Tchat::closeWhenSettled()
{
    // The session reports the close after the messages that came before it.
    if (!m_closeWhenSettled)
        return;
    if (m_report->isOpen())
        return; // closing follows the box
    m_closeWhenSettled = false;
    close();
}

void Tchat::openLobbyLink()
{
    // The lobby only watches that the game runs; nothing is said on this link.
    try {
        m_lobbyLink->open();
    } catch (const ZwonkyError &) {
    }
}

// ---------------------------------------------------------------- start-up roles

void Tchat::processparams()
{
    // The role is chosen once per process.
    if (m_paramsProcessed)
        return;
    m_paramsProcessed = true;
    m_startButton->hide();
    m_menus->startGame()->setEnabled(false);
    if (m_parameters.isEmpty()) {
        addlinetochat(QStringLiteral("Loading Solo Game..Please wait."), NoticeBlue);
        if (m_windows.download)
            m_windows.download->show();
        m_hostAddress = QStringLiteral("127.0.0.1");
        m_playerName = QStringLiteral("You");
        hostpress();
        return;
    }
    addlinetochat(QStringLiteral("Loading Multi-player Game.. Please Wait."), NoticeBlue);
    for (qsizetype i = 0; i < m_parameters.size() && i < 4; ++i) {
        const QString &parameter = m_parameters.at(i);
        if (i == 0) {
            m_playerName = parameter;
        } else if (i == 1) {
            m_hostAddress = parameter;
        } else if (i == 2) {
            if (parameter == QLatin1String("true"))
                hostpress();
            else
                joinpress();
            openLobbyLink();
        } else if (i == 3 && parameter == QLatin1String("s")) {
            if (auto *start = qobject_cast<Tgamestartform *>(m_windows.gameStart))
                start->hideFastOption();
        }
    }
}

void Tchat::hostpress()
{
    // A port that cannot be bound throws here: the rest does not run and the
    // own client never connects.
    if (m_startListening)
        m_startListening();
    m_session->setHosting(true);
    m_session->setPlayerName(m_playerName);
    m_session->connectToHost(QStringLiteral("127.0.0.1"), m_gamePort);
    m_startButton->show();
    m_menus->startGame()->setEnabled(true);
    updateComputerItems();
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(true);
}

void Tchat::joinpress()
{
    m_session->setPlayerName(m_playerName);
    m_session->connectToHost(m_hostAddress, m_gamePort);
    m_startButton->hide();
    m_menus->startGame()->setEnabled(false);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(false);
}

// ---------------------------------------------------------------- login and rows

QString Tchat::rowName(int seat) const
{
    return m_session->players().shownName(seat);
}

// ---------------------------------------------------------------- requests

void Tchat::button_startClick()
{
    if (isConnected()) {
        showCompanion(m_windows.gameStart);
    } else {
        showMessage(QStringLiteral("You are not connected"));
    }
    m_chatPane->focusEntry();
}

void Tchat::startgame()
{
    const auto *form = qobject_cast<const Tgamestartform *>(m_windows.gameStart);
    if (!form || !isConnected())
        return;
    // The table is filled with the computer players asked for first; the
    // game starts once they are all seated.
    const protocol::GameOptions options = form->options();
    if (isHosting())
        fillComputerSeats(form->computerPlayers(), form->computerLevel());
    QPointer<ClientSession> session(m_session);
    m_computers->whenSeated([session, options] {
        if (session)
            session->startGame(options);
    });
}

void Tchat::kicking(int seat)
{
    m_session->kick(seat);
}

void Tchat::JustWatch1Click()
{
    m_session->toggleWatching();
}

void Tchat::New1Click(QAction *item)
{
    chooseTurnSound(item == m_menus->newSound());
    saveinifile();
}

void Tchat::ViewTally1Click()
{
    if (m_tally) {
        QStringList names;
        for (int seat = 1; seat <= PlayingSeats; ++seat) {
            if (seat != ownSeat())
                names.append(rowName(seat));
        }
        m_tally->loadchecklist(names);
    }
    showCompanion(m_windows.tally);
}

void Tchat::image_logoClick()
{
    if (auto *about = qobject_cast<Tabout *>(m_windows.about))
        about->openWebPage();
}

void Tchat::showCompanion(QWidget *window)
{
    if (!window)
        return;
    // Help and About open centred on this window (and Help's own About too).
    if (auto *help = qobject_cast<Thelp *>(window)) {
        help->showOver(this);
        return;
    }
    if (auto *about = qobject_cast<Tabout *>(window)) {
        about->showOver(this);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace zwonky
