#include "client/chatform.h"

#include "client/chatpane.h"
#include "client/connectionnotice.h"
#include "client/errorreport.h"
#include "tally/tallyrecorder.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/tsock.h"
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
constexpr quint32 LeftNavy = 0x800000;
constexpr quint32 WatchGrey = 0x78989C;
constexpr quint32 StatusGreen = 0x008000;
constexpr quint32 StatusRed = 0x0000FF;

const QString EmptySeat = QStringLiteral("<Waiting>");
constexpr int PlayingSeats = 6;
// Row tops of seats 1..6, top to bottom.
constexpr std::array<int, 7> RowTops{0, 338, 363, 387, 409, 433, 456};

QColor bgr(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

bool isPlayingSeat(int seat) { return seat >= 1 && seat <= PlayingSeats; }

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

    // The host's pop-up on the player names.
    m_kickPopup = new QMenu(this);
    m_kickPopup->setObjectName(QStringLiteral("popup_kick"));
    m_kickPopup->setProperty("tag", 0);
    m_removeFromGame = action(m_kickPopup, "RemoveFromGame1", QStringLiteral("Remove From Game"));
    m_setToWatch = action(m_kickPopup, "SettoJustWatch1", QStringLiteral("Set to Just Watch"));
    m_unsetWatch = action(m_kickPopup, "UnsetJustWatch1", QStringLiteral("Unset Just Watch"));
    connect(m_removeFromGame, &QAction::triggered, this, [this, report] {
        guarded(report, [this] { kicking(m_kickPopup->property("tag").toInt()); });
    });
    connect(m_setToWatch, &QAction::triggered, this, [this, report] {
        guarded(report, [this] {
            requestWatch(m_kickPopup->property("tag").toInt(), protocol::WatchStart);
        });
    });
    connect(m_unsetWatch, &QAction::triggered, this, [this, report] {
        guarded(report, [this] {
            requestWatch(m_kickPopup->property("tag").toInt(), protocol::WatchStop);
        });
    });

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

void Tchat::buildRows()
{
    QFont nameFont = font();
    nameFont.setBold(true);
    for (int seat = 1; seat <= PlayingSeats; ++seat) {
        const int top = RowTops[std::size_t(seat)];
        const QColor colour = seat % 2 ? artwork::maroonColour() : artwork::inkColour();
        const QString n = QString::number(seat);

        auto *name = new QLabel(EmptySeat, m_mainPanel);
        name->setObjectName(QStringLiteral("label_playername") + n);
        name->setProperty("tag", seat);
        name->setGeometry(16, top, 108, 20);
        name->setFont(nameFont);
        name->setContextMenuPolicy(Qt::CustomContextMenu);
        setTextColour(name, colour);
        connect(name, &QWidget::customContextMenuRequested, this, [this, name, seat](QPoint at) {
            try {
                label_playername1ContextPopup(seat, name->mapToGlobal(at));
            } catch (const ZwonkyError &e) {
                reportError(e.text());
            }
        });
        m_nameLabels[std::size_t(seat)] = name;

        auto *score = new QLabel(QStringLiteral("0"), m_mainPanel);
        score->setObjectName(QStringLiteral("label_score") + n);
        score->setGeometry(126, top, 38, 20);
        score->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setTextColour(score, colour);
        m_scoreLabels[std::size_t(seat)] = score;

        auto *bonus = new QLabel(QString(), m_mainPanel);
        bonus->setObjectName(QStringLiteral("label_bonus") + n);
        // Any turn result up to six digits with its sign ("+123456").
        bonus->setGeometry(164, top, 60, 20);
        bonus->setContentsMargins(3, 0, 0, 0); // clear of the score before it
        setTextColour(bonus, QColor(0x1f, 0x6b, 0x2a));
        m_bonusLabels[std::size_t(seat)] = bonus;

        auto *eyes = new ArtLabel(artwork::paintEyes, artwork::EyesSize, m_mainPanel);
        eyes->setObjectName(QStringLiteral("image_eyes") + n);
        // The two markers share a place: a seat that watches plays no turn.
        eyes->move(226, top + 4);
        eyes->setToolTip(QStringLiteral("Just watching"));
        eyes->hide();
        m_eyes[std::size_t(seat)] = eyes;

        auto *fresh = new ArtLabel(artwork::paintNewTilesMarker, artwork::NewTilesMarkerSize,
                                   m_mainPanel);
        fresh->setObjectName(QStringLiteral("image_new") + n);
        fresh->move(226, top + 4);
        fresh->setToolTip(QStringLiteral("Bought new tiles this turn"));
        fresh->hide();
        m_newMarkers[std::size_t(seat)] = fresh;
    }
    m_turnMarker = new ArtLabel(artwork::paintTurnMarker, artwork::TurnMarkerSize, m_mainPanel);
    m_turnMarker->setObjectName(QStringLiteral("image_Turn"));
    m_turnMarker->move(3, RowTops[1] + 2);
    m_turnMarker->hide();
}

// The 26 commands, tested in this order; each goes to its part's handler.
void Tchat::registerHandlers()
{
    using Handler = CommandTable::Handler;
    auto bind = [this](void (Tchat::*method)(FieldCursor &)) -> Handler {
        return [this, method](FieldCursor &args) { (this->*method)(args); };
    };
    const std::map<QString, Handler> handlers{
        {protocol::cmd::SendLoginInfo, bind(&Tchat::sendloginfo)},
        {protocol::cmd::Chat, bind(&Tchat::chatrecieved)},
        {protocol::cmd::Action, bind(&Tchat::chatrecieved)},
        {protocol::cmd::NewPlayerInfo, bind(&Tchat::newplayerinfo)},
        {protocol::cmd::HaveWrongVersion,
         [this](FieldCursor &args) {
             addlinetochat(args.takeRest() + QStringLiteral(" has a different version of the game then you."),
                           NoticeBlue);
         }},
        {protocol::cmd::WrongVersion,
         [this](FieldCursor &) {
             addlinetochat(QStringLiteral("You have a differnt version of the game then the host."),
                           NoticeBlue);
         }},
        {protocol::cmd::ExistingPlayers, bind(&Tchat::newplayerinfo)},
        {protocol::cmd::PlayerDisconnected, bind(&Tchat::playerdisconnected)},
        {protocol::cmd::StartGame, bind(&Tchat::startthegame)},
        {protocol::cmd::NextPlayer, bind(&Tchat::getnextplayer)},
        {protocol::cmd::Winner, bind(&Tchat::winner)},
        {protocol::cmd::Full,
         [this](FieldCursor &) {
             showMessage(QStringLiteral("Game is full"), [this] { close(); });
         }},
        {protocol::cmd::JustWatching, bind(&Tchat::justwatching)},
        {protocol::cmd::TheDice, bind(&Tchat::thedice)},
        {protocol::cmd::SetDice, bind(&Tchat::setdice)},
        {protocol::cmd::Accepted, bind(&Tchat::accepted)},
        {protocol::cmd::Rejected, bind(&Tchat::rejected)},
        {protocol::cmd::ClearThem, [this](FieldCursor &) { cleartiles(); }},
        {protocol::cmd::TurnEnd, bind(&Tchat::turnend)},
        {protocol::cmd::Scores, bind(&Tchat::scores)},
        {protocol::cmd::Stats, bind(&Tchat::stats)},
        {protocol::cmd::LoadScores, bind(&Tchat::loadscores)},
        {protocol::cmd::NewTiles, bind(&Tchat::newtiles)},
        {protocol::cmd::OldTiles, bind(&Tchat::oldtiles)},
        {protocol::cmd::AddAWord, bind(&Tchat::addaword)},
        {protocol::cmd::PlayASound, bind(&Tchat::playasound)},
    };
    for (const QString &name : protocol::clientCommandOrder()) {
        const auto found = handlers.find(name);
        Q_ASSERT(found != handlers.end());
        if (found != handlers.end())
            m_pump.table().add(name, found->second);
    }
    // A message the handler could not read (a seat that is not a number)
    // ends there and the error is reported; dispatch goes on.
    m_pump.setErrorReporter([this](const QString &text) { reportError(text); });
}

// ---------------------------------------------------------------- connection

void Tchat::setupGameSocket()
{
    m_sock = new TSock(this);
    m_sock->setObjectName(QStringLiteral("sock"));
    m_sock->setPortName(m_gamePort);
    m_sock->onRead = [this](TSock *) {
        try {
            sockRead();
        } catch (const ZwonkyError &e) {
            reportError(e.text());
        }
    };
    m_sock->onInfo = [this](TSock *, int code, const QString &text) { sockInfo(code, text); };

    m_lobbyLink = new TSock(this);
    m_lobbyLink->setObjectName(QStringLiteral("Sock11"));
    m_lobbyLink->setHostName(QStringLiteral("127.0.0.1"));
    m_lobbyLink->setPortName(QStringLiteral("9001"));
    // Nothing is ever read from the lobby: whatever it sends is thrown away.
    m_lobbyLink->setDiscardInput(true);
}

quint16 Tchat::bindOwnConnection()
{
    return m_sock->bindLocal();
}

void Tchat::sockRead()
{
    const QByteArray bytes = m_sock->receive();
    for (const QByteArray &message : m_framer.feed(bytes))
        m_pump.enqueue(message);
    if (m_framer.overflowed()) {
        // A peer that never ends its message is not the game server.
        qWarning("game connection sent an endless message; closing it");
        m_framer.reset();
        m_sock->close();
    }
}

void Tchat::sockInfo(int code, const QString &text)
{
    if (text == QLatin1String("Socket Closed")) {
        // What the host said before it closed ("CMD_full") is read first.
        m_closeWhenSettled = true;
        closeWhenSettled();
        return;
    }
    if (code == TSock::InfoError && !m_connected) {
        // The connect failed: say so instead of leaving the window silent.
        addlinetochat(connectFailureNotice(m_sock->hostName(), m_sock->lastFailure(),
                                           m_sock->failureDetail()),
                      NoticeBlue);
    }
}

void Tchat::closeWhenSettled()
{
    if (!m_closeWhenSettled)
        return;
    if (m_pump.queued() > 0) {
        m_pump.wake();
        return;
    }
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

void Tchat::sendMessage(const QByteArray &message)
{
    if (!m_connected)
        return;
    m_sock->sendText(message);
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
    m_hosting = true;
    m_sock->setHostName(QStringLiteral("127.0.0.1"));
    m_sock->setPortName(m_gamePort);
    m_sock->open();
    m_startButton->show();
    m_startGameAction->setEnabled(true);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(true);
}

void Tchat::joinpress()
{
    m_sock->setHostName(m_hostAddress);
    m_sock->setPortName(m_gamePort);
    m_sock->open();
    m_startButton->hide();
    m_startGameAction->setEnabled(false);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(false);
}

// ---------------------------------------------------------------- login and rows

QString Tchat::rowName(int seat) const
{
    return isPlayingSeat(seat) ? m_nameLabels[std::size_t(seat)]->text() : QString();
}

void Tchat::sendloginfo(FieldCursor &args)
{
    m_ownSeat = args.takeRestInt();
    m_connected = true;
    sendMessage(protocol::loginInfo(m_ownSeat, QString::fromLatin1(protocol::GameVersion),
                                    m_playerName));
}

void Tchat::newplayerinfo(FieldCursor &args)
{
    const QString seatText = args.takeField();
    const QString name = args.takeRest();
    const int seat = FieldCursor::toInt(seatText);
    if (seat == m_ownSeat) {
        addlinetochat(QStringLiteral("You are Connected."), NoticeBlue);
        loadinifile();
    } else {
        addlinetochat(name + QStringLiteral(" is Connected."), NoticeBlue);
        playsounds(SoundClip::Entered);
    }
    if (seat >= 7) {
        if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
            spies->addEntry(seatText + QStringLiteral(": ") + name);
        addlinetochat(seat == m_ownSeat ? QStringLiteral("You are spying.")
                                        : name + QStringLiteral(" is spying."),
                      NoticeBlue);
    } else if (isPlayingSeat(seat)) {
        m_nameLabels[std::size_t(seat)]->setText(name);
    }
}

void Tchat::playerdisconnected(FieldCursor &args)
{
    const QString seatText = args.takeField();
    const QString name = args.takeRest();
    const int seat = FieldCursor::toInt(seatText);
    if (seat < 7) {
        if (!isPlayingSeat(seat))
            return;
        QLabel *row = m_nameLabels[std::size_t(seat)];
        if (row->text() != EmptySeat)
            addlinetochat(row->text() + QStringLiteral(" disconnected."), NoticeBlue);
        row->setText(EmptySeat);
        m_eyes[std::size_t(seat)]->hide();
        return;
    }
    if (name.isEmpty())
        return;
    auto *spies = qobject_cast<Tspylist *>(m_windows.spyList);
    const QString entry = seatText + QStringLiteral(": ") + name;
    if (spies && spies->hasEntry(entry)) {
        addlinetochat(name + QStringLiteral(" has left."), LeftNavy);
        spies->removeEntry(entry);
    }
}

void Tchat::justwatching(FieldCursor &args)
{
    const int seat = args.takeInt();
    const QString state = args.takeRest();
    if (!isPlayingSeat(seat))
        return;
    const bool watching = state == QLatin1String("1");
    if (seat == m_ownSeat)
        m_justWatch->setChecked(watching);
    addlinetochat(rowName(seat) + (watching ? QStringLiteral(" is just watching")
                                            : QStringLiteral(" now playing again")),
                  WatchGrey);
    m_eyes[std::size_t(seat)]->setVisible(watching);
}

// ---------------------------------------------------------------- game phases

void Tchat::keepGameOptions(const protocol::GameOptions &options)
{
    m_playToScore = options.playTo;
    m_timePerTurn = options.timePerTurn;
    m_zwonkedAt = options.zwonkedAt;
    m_allowTyping = options.typing == QLatin1String("t");
    m_allowNewTiles = options.newTiles != QLatin1String("f");
}

void Tchat::showFastGame(bool fast)
{
    if (!m_fastGameLabel)
        return;
    m_fastGameLabel->setText(fast ? QStringLiteral("Fast Game: Yes") : QStringLiteral("Fast Game: No"));
    m_fastGameLabel->setProperty("tag", fast ? 2 : 1);
}

void Tchat::startthegame(FieldCursor &args)
{
    m_oldButton->hide();
    m_newTilesButton->hide();
    m_doneButton->hide();
    m_clearButton->hide();
    m_winnerPanel->hide();

    const QString starter = args.takeField();
    const protocol::GameOptions options = protocol::takeGameOptions(args);
    keepGameOptions(options);
    m_teamGame = options.team == QLatin1String("t");
    m_startButton->hide();

    clearall();

    m_playToLabel->setText(QStringLiteral("Play to Score: %1").arg(m_playToScore));
    m_timePerTurnLabel->setText(QStringLiteral("Time Per Turn: %1").arg(m_timePerTurn));
    m_zwonkedAtLabel->setText(QStringLiteral("Zwonked At: %1").arg(m_zwonkedAt));
    m_typingLabel->setText(m_allowTyping ? QStringLiteral("Allow Typing: On")
                                         : QStringLiteral("Allow Typing: Off"));
    m_newLabel->setText(m_allowNewTiles ? QStringLiteral("Allow New Tiles: On")
                                        : QStringLiteral("Allow New Tiles: Off"));

    const bool fast = options.fast == QLatin1String("t");
    showFastGame(fast);
    const QString speed = fast ? QStringLiteral(" FAST ") : QStringLiteral(" SLOW ");
    if (m_teamGame) {
        m_teamLabel->setText(QStringLiteral("Team Game!"));
        addlinetochat(starter + QStringLiteral(" has started a") + speed + QStringLiteral("TEAM game."),
                      NoticeBlue);
    } else {
        m_teamLabel->clear();
        addlinetochat(starter + QStringLiteral(" has started a") + speed + QStringLiteral("game."),
                      NoticeBlue);
    }
}

void Tchat::clearall()
{
    for (int seat = 1; seat <= PlayingSeats; ++seat) {
        const auto i = std::size_t(seat);
        m_scoreLabels[i]->setText(QStringLiteral("0"));
        m_bonusLabels[i]->clear();
        m_eyes[i]->hide();
        m_newMarkers[i]->hide();
    }
}

void Tchat::getnextplayer(FieldCursor &args)
{
    cleartiles();
    if (m_wordListPanel && !m_wordListPanel->isHidden() && m_ownSeat < 7)
        m_wordListPanel->hide();
    clearthem();
    for (int seat = 1; seat <= PlayingSeats; ++seat)
        m_newMarkers[std::size_t(seat)]->hide();
    m_status->clear();
    clearWordColumns();

    int seat = args.takeRestInt();
    if (seat > PlayingSeats)
        seat = 1;
    if (seat < 1)
        return; // no such row: a broken message, nothing more to show
    m_currentTurnSeat = seat;

    const bool fastGame = m_fastGameLabel->property("tag").toInt() == 2;
    m_turnMarker->setVisible(!fastGame);
    QLabel *name = m_nameLabels[std::size_t(seat)];
    m_turnMarker->move(m_turnMarker->x(), name->y() + 2);
    name->show();
    m_scoreLabels[std::size_t(seat)]->show();

    if (seat == m_ownSeat) {
        m_turnLabel->setText(QStringLiteral("Your Turn."));
        m_doneButton->show();
        m_clearButton->show();
        m_finishButton->show();
        m_oldButton->hide();
        m_newTilesButton->setVisible(m_allowNewTiles);
        m_typingBox->setVisible(m_allowTyping);
    } else {
        m_turnLabel->setText(rowName(seat) + QStringLiteral("'s turn."));
        for (QWidget *control : std::initializer_list<QWidget *>{
                 m_doneButton, m_clearButton, m_newTilesButton, m_oldButton, m_typingBox,
                 m_finishButton})
            control->hide();
    }
}

void Tchat::accepted(FieldCursor &args)
{
    const int length = args.takeInt();
    const QString word = args.takeRest();
    addToWordColumn(length, word);
    m_status->setText(word + QStringLiteral(" ACCEPTED"));
    setTextColour(m_status, bgr(StatusGreen));
    // The others saw the word being built on the tray; it goes back now.
    if (m_currentTurnSeat != m_ownSeat)
        cleartiles();
    playsounds(SoundClip::GoodWord);
}

void Tchat::rejected(FieldCursor &args)
{
    const QString word = args.takeField();
    const QString reason = args.takeRest();
    m_status->setText(word + reason);
    setTextColour(m_status, bgr(StatusRed));
    if (m_currentTurnSeat != m_ownSeat)
        cleartiles();
    playsounds(SoundClip::BadWord);
}

void Tchat::endturn()
{
    m_currentTurnSeat = 0;
    // The typing switch goes too: it means nothing until the next own turn.
    for (QWidget *control : std::initializer_list<QWidget *>{
             m_clearButton, m_doneButton, m_newTilesButton, m_oldButton, m_finishButton,
             m_typingBox})
        control->hide();
    m_status->setText(QStringLiteral("Posting Scores.. One Moment Please!"));
    setTextColour(m_status, bgr(StatusRed));
    // Nobody's turn during the pause: a stale "Your Turn." would mislead.
    m_turnLabel->clear();
    cleartiles();
    blankTiles();
    playsounds(SoundClip::TimeUp);
}

void Tchat::turnend(FieldCursor &)
{
    endturn();
    playsounds(SoundClip::ShowList);
    for (int seat = 1; seat <= PlayingSeats; ++seat) {
        if (auto *header = findChild<QLabel *>(QStringLiteral("label_name%1").arg(seat)))
            header->setText(rowName(seat));
    }
    if (m_fastGameLabel->property("tag").toInt() == 2 && m_wordListPanel)
        m_wordListPanel->show();
}

void Tchat::winner(FieldCursor &args)
{
    const QString text = args.takeRest();
    playsounds(SoundClip::GameOver);
    m_status->setText(QStringLiteral("Game Over!"));
    if (m_hosting)
        m_startButton->show();
    if (text.contains(QLatin1String(" and "))) {
        m_winnerPanel->setText(text + QStringLiteral(" have Won the Game!"));
        m_winnerPanel->show();
        m_winnerPanel->raise();
        return;
    }
    m_winnerPanel->setText(text + QStringLiteral(" has Won the Game!"));
    m_winnerPanel->show();
    m_winnerPanel->raise();
    if (m_wordListPanel)
        m_wordListPanel->hide();

    if (!isPlayingSeat(m_ownSeat) || !m_tally)
        return;
    m_tally->addgame(text == m_playerName ? QStringLiteral("addtomine") : text);
    bool ok = false;
    const int ownScore = m_scoreLabels[std::size_t(m_ownSeat)]->text().toInt(&ok);
    if (ok && ownScore > m_tally->highestGameScore())
        m_tally->addscore(3, ownScore);
}

// ---------------------------------------------------------------- requests

void Tchat::button_startClick()
{
    if (m_connected) {
        showCompanion(m_windows.gameStart);
    } else {
        showMessage(QStringLiteral("You are not connected"));
    }
    m_chatPane->focusEntry();
}

void Tchat::startgame()
{
    QWidget *form = m_windows.gameStart;
    if (!form)
        return;
    auto checked = [form](const char *name, bool needVisible) {
        const auto *box = form->findChild<QCheckBox *>(QLatin1String(name));
        const bool on = box && box->isChecked() && (!needVisible || !box->isHidden());
        return on ? QStringLiteral("t") : QStringLiteral("f");
    };
    auto text = [form](const char *name) {
        const auto *box = form->findChild<QAbstractSpinBox *>(QLatin1String(name));
        return box ? box->text() : QString();
    };
    protocol::GameOptionFields options;
    options.typing = checked("typing", false);
    options.newTiles = checked("new", false);
    options.fast = checked("fast", true);
    options.team = QStringLiteral("f");
    if (!m_connected)
        return;
    options.playTo = text("playtoscore");
    options.timePerTurn = text("timeperturn");
    options.zwonkedAt = text("zwonked");
    sendMessage(protocol::startGameRequest(m_ownSeat, options));
}

void Tchat::kicking(int seat)
{
    if (m_hosting && m_connected)
        sendMessage(protocol::kickHim(m_ownSeat, seat));
}

void Tchat::requestWatch(int seat, int state)
{
    if (m_connected && seat < 5)
        sendMessage(protocol::justWatch(seat, state));
}

void Tchat::JustWatch1Click()
{
    if (!m_connected || m_ownSeat < 1 || m_ownSeat >= 5)
        return;
    sendMessage(protocol::justWatch(m_ownSeat, m_justWatch->isChecked() ? protocol::WatchStop
                                                                        : protocol::WatchStart));
}

void Tchat::label_playername1ContextPopup(int seat, const QPoint &globalPosition)
{
    for (QAction *item : {m_removeFromGame, m_setToWatch, m_unsetWatch})
        item->setEnabled(m_hosting);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
        spies->setKickEnabled(m_hosting);
    if (rowName(seat) == EmptySeat)
        m_removeFromGame->setEnabled(false);
    m_kickPopup->setProperty("tag", seat);
    if (!globalPosition.isNull())
        m_kickPopup->popup(globalPosition);
}

void Tchat::New1Click(QAction *item)
{
    m_turnSoundMenu->setProperty("tag", item->property("tag"));
    m_classic->setChecked(item == m_classic);
    m_newSound->setChecked(item == m_newSound);
    saveinifile();
}

void Tchat::ViewTally1Click()
{
    if (m_tally) {
        QStringList names;
        for (int seat = 1; seat <= PlayingSeats; ++seat) {
            if (seat != m_ownSeat)
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
