#include "client/chatform.h"

#include "client/chatpane.h"
#include "client/connectionnotice.h"
#include "client/errorreport.h"
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
#include <QActionGroup>
#include <QCheckBox>
#include <QDebug>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>

#include <map>

namespace zwonky {

namespace {

// Colours in the 0x00BBGGRR order of the chat's colour texts.
constexpr quint32 NoticeBlue = 0xFF0000;
constexpr int PlayingSeats = 6;

// Runs a slot's work; errors from the sockets or from parsing end the
// work and are reported, never thrown into the event loop.
template <typename Work>
void guarded(const std::function<void(const QString &)> &report, Work work)
{
    try {
        work();
    } catch (const ZwonkyError &e) {
        report(e.text());
    }
}

} // namespace

// ---------------------------------------------------------------- building

void Tchat::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto report = [this](const QString &text) { reportError(text); };
    auto action = [this](QMenu *menu, const char *name, const QString &text) {
        QAction *item = menu->addAction(text);
        item->setObjectName(QLatin1String(name));
        return item;
    };
    auto check = [&action](QMenu *menu, const char *name, const QString &text, bool on) {
        QAction *item = action(menu, name, text);
        item->setCheckable(true);
        item->setChecked(on);
        return item;
    };

    QMenu *file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    m_startGameAction = action(file, "StartGame1", QStringLiteral("Start Game"));
    connect(m_startGameAction, &QAction::triggered, this, [this, report] {
        guarded(report, [this] { button_startClick(); });
    });
    file->addSeparator();
    // Kept from older versions of the menu; they do nothing and are never shown.
    action(file, "HostGame1", QStringLiteral("Host Game"))->setVisible(false);
    action(file, "JoinGame1", QStringLiteral("Join Game"))->setVisible(false);
    m_exitAction = action(file, "Exit1", QStringLiteral("Exit"));
    connect(m_exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu *options = bar->addMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("Options1"));
    m_playSounds = check(options, "PlaySounds1", QStringLiteral("Play Sounds"), true);
    m_playChatter = check(options, "PlayChatterSounds1", QStringLiteral("Play Chatter Sounds"), false);
    m_turnSoundMenu = options->addMenu(QStringLiteral("Turn Sound"));
    m_turnSoundMenu->setObjectName(QStringLiteral("TurnSound1"));
    m_turnSoundMenu->setProperty("tag", 0);
    auto *turnSounds = new QActionGroup(this);
    turnSounds->setExclusive(true);
    m_classic = check(m_turnSoundMenu, "Classic1", QStringLiteral("Classic"), true);
    m_classic->setProperty("tag", 0);
    m_newSound = check(m_turnSoundMenu, "New1", QStringLiteral("New"), false);
    m_newSound->setProperty("tag", 1);
    turnSounds->addAction(m_classic);
    turnSounds->addAction(m_newSound);
    for (QAction *item : {m_classic, m_newSound}) {
        connect(item, &QAction::triggered, this, [this, item, report] {
            guarded(report, [this, item] { New1Click(item); });
        });
    }
    options->addSeparator();
    m_twoRows = check(options, "TilesinTwoRows1", QStringLiteral("Tiles in Two Rows"), false);
    m_turnOff0 = check(options, "Turnoff0key1", QStringLiteral("Turn off 0 key"), false);
    options->addSeparator();
    m_textColor = action(options, "TextColor1", QStringLiteral("Text Color"));
    m_actionColor = action(options, "ActionColor1", QStringLiteral("Action Color"));
    QMenu *textSize = options->addMenu(QStringLiteral("Text Size"));
    textSize->setObjectName(QStringLiteral("TextSize1"));
    static constexpr std::array<const char *, 4> sizeNames{"N8", "N10", "N12", "N14"};
    static constexpr std::array<int, 4> sizes{8, 10, 12, 14};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        m_textSizes[i] = action(textSize, sizeNames[i], QString::number(sizes[i]));
        m_textSizes[i]->setProperty("tag", sizes[i]);
    }
    m_scrollOff = check(options, "ScrollOff1", QStringLiteral("Chat Scroll Off"), false);
    m_resetLocation = action(options, "ResetScreenLocation1", QStringLiteral("Reset Screen Location"));
    options->addSeparator();
    m_justWatch = check(options, "JustWatch1", QStringLiteral("Just Watch"), false);
    connect(m_justWatch, &QAction::triggered, this, [this, report](bool checked) {
        // The tick follows the server's answer, not the click.
        m_justWatch->setChecked(!checked);
        guarded(report, [this] { JustWatch1Click(); });
    });

    QMenu *view = bar->addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("View1"));
    m_viewTally = action(view, "ViewTally1", QStringLiteral("View Tally"));
    connect(m_viewTally, &QAction::triggered, this, [this, report] {
        guarded(report, [this] { ViewTally1Click(); });
    });
    m_spyListAction = action(view, "SpyList1", QStringLiteral("Spy List"));
    connect(m_spyListAction, &QAction::triggered, this,
            [this] { showCompanion(m_windows.spyList); });
    m_phraseList = action(view, "PrhaseList1", QStringLiteral("Phrase List"));
    connect(m_phraseList, &QAction::triggered, this, [this] { showCompanion(m_windows.phrases); });

    QMenu *help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    m_helpAction = action(help, "Help2", QStringLiteral("Content"));
    m_helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    connect(m_helpAction, &QAction::triggered, this, [this] { showCompanion(m_windows.help); });
    help->addSeparator();
    m_aboutAction = action(help, "About1", QStringLiteral("About"));
    connect(m_aboutAction, &QAction::triggered, this, [this] { showCompanion(m_windows.about); });

    updateCompanionActions();
}

void Tchat::updateCompanionActions()
{
    // A window that is not there cannot be opened: its entry says so by being grey.
    if (m_viewTally)
        m_viewTally->setEnabled(m_windows.tally != nullptr);
    if (m_spyListAction)
        m_spyListAction->setEnabled(m_windows.spyList != nullptr);
    if (m_phraseList)
        m_phraseList->setEnabled(m_windows.phrases != nullptr);
    if (m_helpAction)
        m_helpAction->setEnabled(m_windows.help != nullptr);
    if (m_aboutAction)
        m_aboutAction->setEnabled(m_windows.about != nullptr);
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
    m_startGameAction->setEnabled(false);
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
    m_startGameAction->setEnabled(true);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(true);
}

void Tchat::joinpress()
{
    m_session->setPlayerName(m_playerName);
    m_session->connectToHost(m_hostAddress, m_gamePort);
    m_startButton->hide();
    m_startGameAction->setEnabled(false);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(false);
}

// ---------------------------------------------------------------- login and rows

QString Tchat::rowName(int seat) const
{
    return m_session->players().shownName(seat);
}

void Tchat::showFastGame(bool fast)
{
    if (!m_fastGameLabel)
        return;
    m_fastGameLabel->setText(fast ? QStringLiteral("Fast Game: Yes") : QStringLiteral("Fast Game: No"));
    m_fastGameLabel->setProperty("tag", fast ? 2 : 1);
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
    m_session->startGame(form->options());
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
    chooseTurnSound(item == m_newSound);
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
