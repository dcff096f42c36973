#include "client/chatform.h"
#include "windows/controlnames.h"
#include "client/announcer.h"
#include "client/mainmenus.h"
#include "client/playertableview.h"
#include "client/trayview.h"
#include "client/turnstatusview.h"
#include "session/clientsession.h"

#include "client/boardfit.h"
#include "client/chatpane.h"
#include "client/errorreport.h"
#include "client/gameoptionsview.h"
#include "client/windowsize.h"
#include "client/wordboard.h"
#include "client/wordlistpanel.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "net/zwonkyerror.h"
#include "widgets/artlabel.h"
#include "widgets/artwork.h"
#include "widgets/boardscale.h"
#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/scaledtree.h"
#include "widgets/tiledbackground.h"
#include "windows/aboutform.h"
#include "windows/gamestart.h"
#include "windows/helpform.h"
#include "windows/spylistform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace zwonky {

namespace {

using windowsize::MainPanelHeight;
using windowsize::MainPanelWidth;
// Watchers hear the chatter sounds but do not make them.
constexpr int LastSeatWithSounds = 6;

} // namespace

Tchat::Tchat(QWidget *parent, const std::function<void()> &beforeText) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("chat"));
    setWindowTitle(QStringLiteral("Zwonky"));
    m_report = new ErrorReport(this, this);
    connect(m_report, &ErrorReport::closed, this, [this] { closeWhenSettled(); });

    m_session = new ClientSession(this);
    m_session->setObjectName(QStringLiteral("session"));

    buildLayout();
    buildMenus();
    m_playerTable = new PlayerTableView(*m_session, m_mainPanel, this);
    m_playerTable->setErrorReporter([this](const QString &text) { reportError(text); });
    m_playerTable->setBeforePopup([this] {
        if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList))
            spies->setKickEnabled(isHosting());
    });
    m_tray = new TrayView(*m_session, m_boardPanel, m_mainPanel, m_menus->twoRows(), m_menus->turnOff0(), this);
    m_tray->setErrorReporter([this](const QString &text) { reportError(text); });
    connect(m_tray, &TrayView::optionsChanged, this, [this] { saveinifile(); });
    connect(m_tray, &TrayView::chatFocusWanted, this, [this] { focusChat(); });
    if (beforeText)
        beforeText();
    buildChatPane();
    m_wordBoard = new WordBoard(*m_session, this, m_boardPanel, m_columnsPanel);
    m_wordBoard->setSoundOut([this](SoundClip clip) { m_chatPane->playEvent(clip); });
    m_wordBoard->setFocusChat([this] { focusChat(); });
    // The word-list panel floats over the board and grows with it.
    new ScaledTree(&m_wordBoard->wordLists(), m_boardFit->scale(), ScaledTree::Mode::LaidOut);
    connect(m_boardFit, &BoardFit::fitted, this, [this] {
        if (m_wordBoard->wordLists().isVisible())
            m_wordBoard->wordLists().takePlace();
    });
    wireSession();
    setupLobbyLink();
    connect(m_menus->newSound(), &QAction::toggled, m_session, &ClientSession::setNewTurnSound);

    resize(windowsize::DefaultWidth, windowsize::DefaultHeight);
    // Keys typed anywhere in the window go to the tray first.
    qApp->installEventFilter(this);
    // Names for screen readers, once every control is made.
    nameControls(this);
}

Tchat::~Tchat()
{
    qApp->removeEventFilter(this);
    // The session goes first and quietly: nothing it says reaches a window
    // that is half gone.
    m_session->disconnect();
    delete m_session;
    m_session = nullptr;
    if (m_lobbyLink)
        m_lobbyLink->onInfo = nullptr;
}

void Tchat::setRandom(QRandomGenerator *generator) { m_tray->setRandom(generator); }
void Tchat::setSoundPlayer(SoundPlayer *player) { m_chatPane->setSoundPlayer(player); }
void Tchat::setTally(TallyRecorder *tally) { m_tally = tally; }

void Tchat::setCompanions(const CompanionWindows &windows)
{
    m_windows = windows;
    m_chatPane->setPhraseEditor(m_windows.phrases);
    if (auto *spies = qobject_cast<Tspylist *>(m_windows.spyList)) {
        spies->setAnchor(this);
        spies->setKicker([this](int seat) { kicking(seat); });
        spies->setKickEnabled(isHosting());
    }
    if (auto *start = qobject_cast<Tgamestartform *>(m_windows.gameStart)) {
        start->setAnchor(this);
        start->setStartHandler([this] {
            runGuarded([this] {
                startgame();
                saveinifile();
            });
        });
    }
    updateCompanionActions();
}

void Tchat::setHostStarter(std::function<void()> startListening)
{
    m_startListening = std::move(startListening);
}
void Tchat::setGamePort(const QString &port) { m_gamePort = port; }
void Tchat::setParameters(const QStringList &parameters) { m_parameters = parameters; }
void Tchat::setSettingsFolder(const QString &folder) { m_settingsFolder = folder; }
void Tchat::setMessageBox(std::function<void(const QString &)> show)
{
    if (!show)
        return;
    m_report->setBoxShower([show = std::move(show)](ErrorReport::Kind, const QString &text,
                                                    std::function<void()> dismissed) {
        show(text);
        dismissed();
    });
}

void Tchat::showMessage(const QString &text, std::function<void()> afterwards)
{
    m_report->show(ErrorReport::Kind::Notice, text, std::move(afterwards));
}

void Tchat::reportError(const QString &text) { m_report->show(ErrorReport::Kind::Error, text); }

const BoardScale &Tchat::boardScale() const { return m_boardFit->scale(); }

TileWidget *Tchat::tile(int die) const { return m_tray->tile(die); }
int Tchat::trayCount() const { return m_tray->trayCount(); }
void Tchat::focusChat() { m_chatPane->focusEntry(); }

bool Tchat::runGuarded(const std::function<void()> &work)
{
    return zwonky::runGuarded(work, [this](const QString &text) { reportError(text); });
}

// The window: the cloth, and on it one panel 785 x 520 with the options and
// player rows on the left, the board, the turn buttons, the word columns and
// the chat on the right. Its controls are placed in logical pixels; when the
// window grows, the panel and everything on it grow by one factor (BoardFit).
void Tchat::buildLayout()
{
    auto *background = new TiledBackground(this);
    background->setObjectName(QStringLiteral("background"));
    background->setMinimumSize(MainPanelWidth + 10, MainPanelHeight + 4);
    setCentralWidget(background);

    m_mainPanel = new QWidget(background);
    m_mainPanel->setObjectName(QStringLiteral("panel_board1"));
    m_boardFit = new BoardFit(background, m_mainPanel, QRect(5, 2, MainPanelWidth, MainPanelHeight),
                              QSize(windowsize::DefaultWidth, windowsize::DefaultHeight));
    new ScaledTree(m_mainPanel, m_boardFit->scale(), ScaledTree::Mode::Placed);

    QFont bold = font();
    bold.setBold(true);

    // ---- the left column: name, game options, start picture, whose turn
    auto *logo = new ArtLabel(artwork::paintLogo, artwork::LogoSize, m_mainPanel);
    logo->setObjectName(QStringLiteral("image_logo"));
    logo->setGeometry(2, 4, artwork::LogoSize.width(), artwork::LogoSize.height());
    logo->setCursor(Qt::PointingHandCursor);
    m_logo = logo;

    // The game options under the logo: a view of the session's options.
    m_gameOptions = new GameOptionsView(*m_session, m_mainPanel);

    m_startButton = new PictureButton(
        [](QPainter &p, const QRectF &r, bool hovered, bool pressed, bool enabled) {
            artwork::paintStartPicture(p, r, hovered, pressed, enabled);
        },
        artwork::StartPictureSize, m_mainPanel);
    m_startButton->setObjectName(QStringLiteral("button_start"));
    m_startButton->setToolTip(QStringLiteral("Choose the options and start a new game"));
    m_startButton->move(12, 204);
    connect(m_startButton, &QPushButton::clicked, this, [this] {
        runGuarded([this] { button_startClick(); });
    });

    // ---- the right side: the board with the tiles, built by the tray
    m_boardPanel = new QWidget(m_mainPanel);
    m_boardPanel->setObjectName(QStringLiteral("panel_board"));
    m_boardPanel->setGeometry(190, 2, 595, 170);

    // The turn buttons under the board are the tray's.

    m_columnsPanel = new FlatPanel(m_mainPanel);
    m_columnsPanel->setObjectName(QStringLiteral("panel_columns"));
    m_columnsPanel->setGeometry(190, 226, 595, 106);

    // ---- bottom: player rows (buildRows), announcement bar and chat
    auto *players = new FlatPanel(m_mainPanel);
    players->setObjectName(QStringLiteral("panel_players"));
    players->setGeometry(2, 332, 256, 152);
    players->lower();

    m_chatPanel = new QWidget(m_mainPanel);
    m_chatPanel->setObjectName(QStringLiteral("panel_chat"));
    m_chatPanel->setGeometry(262, 366, 523, 152);

    // Whose turn, the host's verdicts, the announcements and the winner.
    m_turnStatus = new TurnStatusView(*m_session, m_mainPanel);
    m_announcer = new Announcer(*m_session, m_mainPanel);
}

// The chat pane in the bottom right corner, on the Options and View menus'
// chat entries; what it asks to send goes out on the game connection.
void Tchat::buildChatPane()
{
    ChatPane::MenuActions menu;
    menu.playSounds = m_menus->playSounds();
    menu.playChatter = m_menus->playChatter();
    menu.textColor = m_menus->textColor();
    menu.actionColor = m_menus->actionColor();
    menu.textSizes = m_menus->textSizes();
    menu.scrollOff = m_menus->scrollOff();
    menu.phraseList = m_menus->phraseList();
    m_chatPane = new ChatPane(m_chatPanel, menu);

    ChatPane::Requests requests;
    requests.canChat = [this] { return isConnected(); };
    requests.chat = [this](const QString &text, const QString &colour) { m_session->chat(text, colour); };
    requests.action = [this](const QString &text, const QString &colour) {
        m_session->action(text, colour);
    };
    // Phrases go out whether or not the login is through.
    requests.phrase = [this](const QString &text, const QString &colour) {
        return m_session->phraseAction(text, colour);
    };
    requests.chatterSound = [this](int sound) {
        if (ownSeat() <= LastSeatWithSounds && isConnected())
            m_session->playSound(sound);
    };
    m_chatPane->setRequests(std::move(requests));

    const auto guarded = [this](const std::function<void()> &work) { runGuarded(work); };
    connect(m_chatPane, &ChatPane::settingsChanged, this,
            [this, guarded] { guarded([this] { saveinifile(); }); });
    connect(m_chatPane, &ChatPane::phrasesEdited, this, [this, guarded](const QStringList &texts) {
        guarded([this, &texts] { storePhrases(texts); });
    });
    connect(m_chatPane, &ChatPane::errorOccurred, this, [this](const QString &text) {
        reportError(text);
    });
    // The phrase gate counts dispatch ticks; while it is closed the
    // dispatch timer must keep ticking even with nothing to dispatch.
    connect(m_chatPane, &ChatPane::phraseSent, m_session, &ClientSession::wakeDispatch);
    m_session->setAfterTick([this] { m_chatPane->dispatchTick(); });
    m_session->setKeepTicking([this] { return !m_chatPane->phraseReady(); });

    connect(m_menus->resetLocation(), &QAction::triggered, this,
            [this, guarded] { guarded([this] { ResetScreenLocation1Click(); }); });
    applyMinimumSize();
}

void Tchat::addlinetochat(const QString &line, quint32 colour) { m_chatPane->addLine(line, colour); }
void Tchat::playsounds(SoundClip clip) { m_chatPane->playEvent(clip); }

void Tchat::closeEvent(QCloseEvent *event)
{
    // Closing sends nothing to the server; the connection ends with the
    // process. The settings are written only if the window was moved or resized.
    runGuarded([this] { FormClose(); });
    QMainWindow::closeEvent(event);
    if (!event->isAccepted())
        return;
    // The program ends with this window. The others go with it, before it
    // hides: left open for the moment that remains, one of them would take
    // the focus and paint itself again for nothing.
    for (QWidget *window : m_windows.all()) {
        if (window)
            window->hide();
    }
}

void Tchat::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_paramsProcessed || event->spontaneous())
        return;
    runGuarded([this] { processparams(); });
}

bool Tchat::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_logo && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton
        && m_logo->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        image_logoClick();
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->window() == this) {
        bool taken = false;
        // A key whose handling failed counts as taken.
        if (!runGuarded([&] { taken = m_tray->FormShortCut(static_cast<QKeyEvent *>(event)); }) || taken)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tchat::moveEvent(QMoveEvent *event) { QMainWindow::moveEvent(event); }
void Tchat::resizeEvent(QResizeEvent *event) { QMainWindow::resizeEvent(event); }

} // namespace zwonky
