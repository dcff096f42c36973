// The letter tray of the main window: the 13 dice tiles, the word tray, the
// keyboard typing mode and the turn clock. Messages name dice by number only;
// the host turns numbers back into letters when it judges a word.

#include "client/chatform.h"
#include "session/clientsession.h"

#include "client/chatpane.h"
#include "client/boardbackdrop.h"
#include "client/lettertiles.h"
#include "client/tilewidget.h"
#include "client/typingkeys.h"
#include "client/wordcolumn.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/zwonkyerror.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace zwonky {

namespace {

constexpr int TileSide = 41;
constexpr int TrayTop = 8;
constexpr int UpperRowTop = 61;
constexpr int LowerRowTop = 103;
// Left edges of tiles 1, 2, 3, 11, 12, 13 in the lower row of the two-row rack.
constexpr std::array<int, 6> LowerRowLefts{183, 227, 270, 313, 356, 400};
// Where the clock sits on the board, under the rack.
constexpr int ClockTop = 152;
constexpr int ClockBarLeft = 150;

constexpr quint32 Maroon = 0x000080;
constexpr quint32 White = 0xFFFFFF;

int trayLeft(int position) { return TileSide * position + 69; }

bool isLowerRowTile(int die) { return die <= 3 || die >= 11; }

// The letter of a key of the main keyboard, "A" to "Z"; empty for any other.
QString myletter(const QKeyEvent &key) { return letterOfKey(key); }

// Takes a double click of a push button (QPushButton has no signal for it).
class DoubleClickFilter : public QObject
{
public:
    DoubleClickFilter(QObject *parent, std::function<void()> action)
        : QObject(parent), m_action(std::move(action))
    {
    }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_action();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

// ---------------------------------------------------------------- building

void Tchat::buildTray(QWidget *boardPanel)
{
    if (!boardPanel)
        return;
    m_letterImages = std::make_shared<LetterImages>();

    m_backdrop = new BoardBackdrop(boardPanel);
    m_backdrop->setGeometry(0, 0, TileSide * 14 + 9 + 12, LowerRowTop + TileSide + 6);
    m_backdrop->lower();

    for (int die = 1; die <= 13; ++die) {
        auto *tile = new TileWidget(die, m_letterImages.get(), boardPanel);
        const QPoint place = rackPlace(die);
        tile->move(place);
        // Until the first deal the tiles rest at their rack places.
        tile->setHomePlace(place.x());
        tile->setVisible(die <= 10);
        connect(tile, &TileWidget::mouseDown, this,
                [this](TileWidget *clicked, Qt::MouseButton button) {
                    runGuarded([&] { dice_1MouseDown(clicked, button); });
                });
        m_tiles[std::size_t(die)] = tile;
    }

    m_timeLabel = new QLabel(QStringLiteral("Time: 0:00"), boardPanel);
    m_timeLabel->setObjectName(QStringLiteral("label_time"));
    m_timeLabel->setGeometry(TileSide + 9, ClockTop - 3, ClockBarLeft - TileSide - 14, 18);
    m_timeLabel->setToolTip(QStringLiteral("Time left in this turn"));
    QFont clockFont = m_timeLabel->font();
    clockFont.setBold(true);
    m_timeLabel->setFont(clockFont);

    m_timerBar = new QLabel(boardPanel);
    m_timerBar->setObjectName(QStringLiteral("image_timer"));
    m_timerBar->setGeometry(ClockBarLeft, ClockTop, 0, 12);
    setTimerBarWidth(0);

    boardPanel->setMinimumSize(TileSide * 14 + 9 + 12, ClockTop + 18);
    // Typing mode is on when the window opens; Tab flips it during a turn.
    if (m_typingBox)
        m_typingBox->setChecked(true);
    wireTrayControls();
}

// Connects the turn buttons and the two tray menu options; both are made by
// the session's part of the window, possibly after the tray. Safe to call
// again: each control is connected once.
void Tchat::wireTrayControls()
{
    auto once = [](QObject *control) {
        if (!control || control->property("trayWired").toBool())
            return false;
        control->setProperty("trayWired", true);
        return true;
    };
    if (once(m_doneButton))
        connect(m_doneButton, &QPushButton::clicked, this,
                [this] { runGuarded([this] { button_doneClick(); }); });
    if (once(m_clearButton))
        connect(m_clearButton, &QPushButton::clicked, this,
                [this] { runGuarded([this] { button_clearClick(); }); });
    if (once(m_finishButton))
        connect(m_finishButton, &QPushButton::clicked, this,
                [this] { runGuarded([this] { button_finishClick(); }); });
    if (once(m_newTilesButton))
        m_newTilesButton->installEventFilter(new DoubleClickFilter(
            m_newTilesButton, [this] { runGuarded([this] { button_newtilesDblClick(); }); }));
    if (once(m_oldButton))
        m_oldButton->installEventFilter(new DoubleClickFilter(
            m_oldButton, [this] { runGuarded([this] { button_oldDblClick(); }); }));
    if (once(m_twoRows))
        connect(m_twoRows, &QAction::triggered, this,
                [this] { runGuarded([this] { TilesinTwoRows1Click(); }); });
    if (once(m_turnOff0))
        connect(m_turnOff0, &QAction::triggered, this,
                [this] { runGuarded([this] { Turnoff0key1Click(); }); });
}

// ---------------------------------------------------------------- places

bool Tchat::twoRowRack() const
{
    return m_twoRows && m_twoRows->isChecked();
}

QPoint Tchat::rackPlace(int die) const
{
    if (twoRowRack() && isLowerRowTile(die)) {
        const int index = die <= 3 ? die - 1 : die - 8;
        return {LowerRowLefts[std::size_t(index)], LowerRowTop};
    }
    return {TileSide * die + 9, UpperRowTop};
}

int Tchat::rowTop(int die) const
{
    return rackPlace(die).y();
}

TileWidget *Tchat::tile(int die) const
{
    if (die < 1 || die > 13)
        return nullptr;
    return m_tiles[std::size_t(die)];
}

bool Tchat::isOwnTurn() const
{
    return m_session->isOwnTurn();
}

bool Tchat::isFastGame() const
{
    return m_session->settings().fast;
}

void Tchat::focusChat()
{
    m_chatPane->focusEntry();
}

QRandomGenerator *Tchat::randomGenerator()
{
    if (m_random)
        return m_random;
    if (!m_ownRandom)
        m_ownRandom = std::make_shared<QRandomGenerator>(QRandomGenerator::securelySeeded());
    return m_ownRandom.get();
}

void Tchat::sendTileHome(TileWidget *piece)
{
    piece->setTrayPosition(0);
    piece->move(piece->homePlace(), rowTop(piece->dieNumber()));
}

// ---------------------------------------------------------------- dealing

void Tchat::onLettersDealt(int, DealKind kind)
{
    for (int die = 1; die <= 13; ++die)
        if (TileWidget *piece = tile(die))
            piece->setLetter(QStringLiteral("*"));
    if (kind == DealKind::Thirteen) {
        for (int die = 11; die <= 13; ++die)
            if (TileWidget *piece = tile(die))
                piece->show();
        // Three-letter words are refused in a 13-letter turn: shade their column.
        setColumnColours(3, colourFromBgr(Maroon));
        for (int length = 4; length <= 10; ++length)
            setColumnColours(length, colourFromBgr(White));
    } else if (kind == DealKind::Ten) {
        for (int die = 11; die <= 13; ++die)
            if (TileWidget *piece = tile(die))
                piece->hide();
        for (int length = 3; length <= 10; ++length)
            setColumnColours(length, colourFromBgr(White));
    }
    // Only the dice the deal named change; an empty letter leaves its die blank.
    const LetterTray &tray = m_session->tray();
    for (int die = 1; die <= tray.dealtCount(); ++die) {
        TileWidget *piece = tile(die);
        if (!piece)
            continue;
        piece->setTrayPosition(0);
        const QString letter = tray.letter(die);
        if (letter.isEmpty()) {
            piece->setPictureIndex(0);
        } else {
            piece->setLetter(letter);
            piece->setPictureIndex(letterIndex(letter));
        }
        const QPoint place = rackPlace(die);
        piece->move(place);
        piece->setHomePlace(place.x());
    }
}

void Tchat::onTileMoved(int position, int die)
{
    TileWidget *piece = tile(die);
    if (!piece)
        return;
    const bool own = m_session->isOwnTurn();
    if (position != 0) {
        if (own) {
            piece->setTrayPosition(position);
            piece->raise();
        }
        piece->move(trayLeft(position), TrayTop);
    } else if (own) {
        sendTileHome(piece);
    } else {
        // Shuffles are not relayed: the tile goes to its unshuffled place.
        piece->move(rackPlace(die));
    }
}

void Tchat::cleartiles()
{
    for (int die = 1; die <= 13; ++die)
        if (TileWidget *piece = tile(die))
            sendTileHome(piece);
}

void Tchat::blankTiles()
{
    for (int die = 1; die <= 13; ++die)
        if (TileWidget *piece = tile(die))
            piece->setPictureIndex(0);
}

int Tchat::trayCount() const
{
    return m_session->tray().count();
}

int Tchat::traySlot(int position) const
{
    return m_session->tray().slot(position);
}

// ---------------------------------------------------------------- tile clicks

void Tchat::dice_1MouseDown(TileWidget *piece, Qt::MouseButton button)
{
    if (!piece)
        return;
    if (piece->trayPosition() == 0) {
        if (button == Qt::LeftButton)
            putTileDown(piece);
        else if (button == Qt::RightButton && isOwnTurn())
            shufflethem();
        return;
    }
    if (!isOwnTurn())
        return;
    // Only the last tile put down can be taken back.
    if (piece->trayPosition() == m_session->tray().count())
        takeBackLastTile();
    focusChat();
}

bool Tchat::putTileDown(TileWidget *piece)
{
    // The session lays it and says where (tileMoved).
    return m_session->putTile(piece->dieNumber());
}

void Tchat::takeBackLastTile()
{
    m_session->takeBackTile();
}

// ---------------------------------------------------------------- shuffling

void Tchat::changespot(int a, int b)
{
    TileWidget *first = tile(a);
    TileWidget *second = tile(b);
    if (!first || !second)
        return;
    const int home = first->homePlace();
    first->setHomePlace(second->homePlace());
    second->setHomePlace(home);
    for (TileWidget *piece : {first, second})
        if (piece->trayPosition() == 0)
            piece->move(piece->homePlace(), piece->y());
}

void Tchat::shufflethem()
{
    QRandomGenerator *random = randomGenerator();
    const bool thirteen = m_session->tray().handSize() == LetterTray::ZwonkedHand;
    if (!twoRowRack()) {
        for (int a = 1; a <= 10; ++a)
            changespot(a, int(random->bounded(thirteen ? 13 : 10)) + 1);
        return;
    }
    // Two rows: swaps stay within a row, so no tile changes rows.
    for (int a = 4; a <= 10; ++a)
        changespot(a, int(random->bounded(thirteen ? 7 : 6)) + 4);
    static constexpr std::array<int, 6> LowerRow{1, 2, 3, 11, 12, 13};
    for (int a = 1; a <= 3; ++a) {
        const int index = int(random->bounded(thirteen ? 6 : 2));
        changespot(a, LowerRow[std::size_t(index)]);
    }
}

void Tchat::movetiles()
{
    for (int die = 1; die <= 13; ++die) {
        TileWidget *piece = tile(die);
        if (!piece)
            continue;
        const QPoint place = rackPlace(die);
        piece->move(place);
        piece->setHomePlace(place.x());
    }
    if (m_backdrop)
        m_backdrop->setTwoRows(twoRowRack());
}

// ---------------------------------------------------------------- turn buttons

void Tchat::hitdone()
{
    m_session->submitWord();
}

void Tchat::hitclear()
{
    m_session->clearTray();
    focusChat();
}

void Tchat::hitnew()
{
    // Whether new tiles are allowed is the host's decision.
    if (isOwnTurn()) {
        m_session->buyNewTiles();
        if (m_newTilesButton)
            m_newTilesButton->hide();
    }
    focusChat();
}

void Tchat::hitold()
{
    if (isOwnTurn()) {
        m_session->buyOldTiles();
        if (m_oldButton)
            m_oldButton->hide();
    }
    focusChat();
}

void Tchat::button_doneClick()
{
    hitdone();
    focusChat();
}

void Tchat::button_clearClick()
{
    hitclear();
}

void Tchat::button_newtilesDblClick()
{
    hitnew();
}

void Tchat::button_oldDblClick()
{
    hitold();
}

void Tchat::button_finishClick()
{
    if (isConnected())
        m_session->finishTurn();
}

void Tchat::TilesinTwoRows1Click()
{
    // The action has already flipped its own check mark.
    saveinifile();
    hitclear();
    movetiles();
}

void Tchat::Turnoff0key1Click()
{
    saveinifile();
}

// ---------------------------------------------------------------- keyboard

bool Tchat::checkforletter(const QString &letter)
{
    for (int die = 1; die <= 13; ++die) {
        TileWidget *piece = tile(die);
        const LetterTray &tray = m_session->tray();
        if (piece && tray.inHand(die) && tray.positionOf(die) == 0 && tray.letter(die) == letter)
            return putTileDown(piece);
    }
    return false;
}

bool Tchat::FormShortCut(QKeyEvent *key)
{
    if (!key || !isOwnTurn() || !m_session->settings().allowTyping)
        return false;
    const int code = key->key();
    if (code == Qt::Key_Tab || code == Qt::Key_Backtab) {
        if (m_typingBox)
            m_typingBox->toggle();
        return true;
    }
    if (!m_typingBox || !m_typingBox->isChecked())
        return false;

    // Only the digits of the main keyboard row count, by key, not by character.
    const int digit = mainRowDigit(*key);
    const bool turnOff0 = m_turnOff0 && m_turnOff0->isChecked();
    if (code == Qt::Key_Return || code == Qt::Key_Enter)
        hitdone();
    if (code == Qt::Key_Backspace)
        takeBackLastTile();
    if (digit == 1) {
        hitclear();
    } else if (digit == 6 || code == Qt::Key_Space) {
        shufflethem();
    } else if (digit == 0 && !turnOff0) {
        hitnew();
    } else {
        const QString letter = myletter(*key);
        if (!letter.isEmpty())
            checkforletter(letter);
    }
    return true;
}

// ---------------------------------------------------------------- turn clock

void Tchat::setTimerBarWidth(int seconds)
{
    if (!m_timerBar)
        return;
    // One pixel a second, as far as the board reaches.
    const int room = m_timerBar->parentWidget()
        ? std::max(0, m_timerBar->parentWidget()->width() - ClockBarLeft)
        : 0;
    m_timerBar->resize(std::clamp(seconds, 0, room), m_timerBar->height());
    // The bar warms from green to red as the turn runs out.
    const char *colour = seconds > 20 ? "#3d9a3d" : seconds > 10 ? "#e0a020" : "#d03a2a";
    const QString style = QStringLiteral("background:%1;border-radius:3px;").arg(QLatin1String(colour));
    if (m_timerBar->styleSheet() != style)
        m_timerBar->setStyleSheet(style);
}

void Tchat::showClock(int secondsLeft)
{
    if (!m_timeLabel)
        return;
    const int seconds = qMax(0, secondsLeft);
    const int remainder = seconds % 60;
    m_timeLabel->setText(QStringLiteral("Time: %1:%2%3")
                             .arg(seconds / 60)
                             .arg(remainder < 10 ? QStringLiteral("0") : QString())
                             .arg(remainder));
}

// One second of the turn clock (the session's clock keeps the time).
void Tchat::Timer2Timer()
{
    m_session->tickClock();
}

int Tchat::secondsLeft() const
{
    return m_session->secondsLeft();
}

} // namespace zwonky
