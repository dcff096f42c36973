#include "client/trayview.h"

#include "client/boardbackdrop.h"
#include "client/lettertiles.h"
#include "client/tilewidget.h"
#include "client/turnbuttons.h"
#include "client/turnclockview.h"
#include "client/typingkeys.h"
#include "net/zwonkyerror.h"
#include "session/clientsession.h"
#include "widgets/scaledtree.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QWidget>

namespace zwonky {

namespace {

constexpr int TileSide = LetterImages::TileSize;
constexpr int TrayTop = 8;
constexpr int UpperRowTop = 61;
constexpr int LowerRowTop = 103;
// Left edges of tiles 1, 2, 3, 11, 12, 13 in the lower row of the two-row rack.
constexpr std::array<int, 6> LowerRowLefts{183, 227, 270, 313, 356, 400};

int trayLeft(int position) { return TileSide * position + 69; }

bool isLowerRowTile(int die) { return die <= 3 || die >= 11; }

// The letter of a key of the main keyboard, "A" to "Z"; empty for any other.
QString myletter(const QKeyEvent &key) { return letterOfKey(key); }

} // namespace

// ---------------------------------------------------------------- building

TrayView::TrayView(ClientSession &session, QWidget *board, QWidget *buttonPanel, QAction *twoRows,
                   QAction *turnOff0, QObject *parent)
    : QObject(parent), m_session(session), m_twoRowsAction(twoRows), m_turnOff0Action(turnOff0)
{
    m_twoRows = twoRows && twoRows->isChecked();
    m_turnOff0 = turnOff0 && turnOff0->isChecked();
    buildTiles(board);
    m_clock = new TurnClockView(session, board, this);
    board->setMinimumSize(TileSide * 14 + 9 + 12, TurnClockView::ClockTop + 18);
    m_buttons = new TurnButtons(session, buttonPanel, this);
    wireSession();
    wireButtons();
    wireActions();
}

TrayView::~TrayView() = default;

void TrayView::buildTiles(QWidget *board)
{
    m_letterImages = std::make_shared<LetterImages>();

    m_backdrop = new BoardBackdrop(board);
    m_backdrop->setGeometry(0, 0, BoardBackdrop::LogicalWidth, BoardBackdrop::LogicalHeight);
    m_backdrop->lower();

    for (int die = 1; die <= 13; ++die) {
        auto *piece = new TileWidget(die, m_letterImages.get(), board);
        const QPoint place = rackPlace(die);
        scaled::move(piece, place);
        // Until the first deal the tiles rest at their rack places.
        piece->setHomePlace(place.x());
        piece->setVisible(die <= 10);
        connect(piece, &TileWidget::mouseDown, this,
                [this](TileWidget *clicked, Qt::MouseButton button) {
                    guarded([&] { dice_1MouseDown(clicked, button); });
                });
        m_tiles[std::size_t(die)] = piece;
    }
}

void TrayView::wireSession()
{
    connect(&m_session, &ClientSession::lettersDealt, this,
            [this](int, DealKind kind) { onLettersDealt(kind); });
    connect(&m_session, &ClientSession::tileMoved, this, &TrayView::onTileMoved);
    connect(&m_session, &ClientSession::trayCleared, this, &TrayView::cleartiles);
    connect(&m_session, &ClientSession::turnEnded, this, &TrayView::blankTiles);
}

void TrayView::wireButtons()
{
    TurnButtons *b = m_buttons;
    connect(b, &TurnButtons::doneClicked, this, [this] { guarded([this] { button_doneClick(); }); });
    connect(b, &TurnButtons::clearClicked, this, [this] { guarded([this] { button_clearClick(); }); });
    connect(b, &TurnButtons::finishClicked, this, [this] { guarded([this] { button_finishClick(); }); });
    connect(b, &TurnButtons::newTilesDoubleClicked, this,
            [this] { guarded([this] { button_newtilesDblClick(); }); });
    connect(b, &TurnButtons::oldTilesDoubleClicked, this,
            [this] { guarded([this] { button_oldDblClick(); }); });
}

// The menu's check marks are the options' values; the tray follows them.
void TrayView::wireActions()
{
    if (m_twoRowsAction) {
        connect(m_twoRowsAction, &QAction::toggled, this, [this](bool on) { m_twoRows = on; });
        connect(m_twoRowsAction, &QAction::triggered, this,
                [this] { guarded([this] { TilesinTwoRows1Click(); }); });
    }
    if (m_turnOff0Action) {
        connect(m_turnOff0Action, &QAction::toggled, this, [this](bool on) { m_turnOff0 = on; });
        connect(m_turnOff0Action, &QAction::triggered, this,
                [this] { guarded([this] { Turnoff0key1Click(); }); });
    }
}

void TrayView::guarded(const std::function<void()> &work)
{
    runGuarded(work, [this](const QString &text) {
        if (m_report)
            m_report(text);
    });
}

// ---------------------------------------------------------------- places

QPoint TrayView::rackPlace(int die) const
{
    if (m_twoRows && isLowerRowTile(die)) {
        const int index = die <= 3 ? die - 1 : die - 8;
        return {LowerRowLefts[std::size_t(index)], LowerRowTop};
    }
    return {TileSide * die + 9, UpperRowTop};
}

int TrayView::rowTop(int die) const
{
    return rackPlace(die).y();
}

TileWidget *TrayView::tile(int die) const
{
    if (die < 1 || die > 13)
        return nullptr;
    return m_tiles[std::size_t(die)];
}

bool TrayView::isOwnTurn() const
{
    return m_session.isOwnTurn();
}

QRandomGenerator *TrayView::randomGenerator()
{
    if (m_random)
        return m_random;
    if (!m_ownRandom)
        m_ownRandom = std::make_unique<QRandomGenerator>(QRandomGenerator::securelySeeded());
    return m_ownRandom.get();
}

void TrayView::sendTileHome(TileWidget *piece)
{
    piece->setTrayPosition(0);
    scaled::move(piece, {piece->homePlace(), rowTop(piece->dieNumber())});
}

// ---------------------------------------------------------------- dealing

void TrayView::onLettersDealt(DealKind kind)
{
    for (int die = 1; die <= 13; ++die)
        tile(die)->setLetter(QStringLiteral("*"));
    if (kind == DealKind::Thirteen) {
        for (int die = 11; die <= 13; ++die)
            tile(die)->show();
    } else if (kind == DealKind::Ten) {
        for (int die = 11; die <= 13; ++die)
            tile(die)->hide();
    }
    // Only the dice the deal named change; an empty letter leaves its die blank.
    const LetterTray &tray = m_session.tray();
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
        scaled::move(piece, place);
        piece->setHomePlace(place.x());
    }
}

void TrayView::onTileMoved(int position, int die)
{
    TileWidget *piece = tile(die);
    if (!piece)
        return;
    const bool own = m_session.isOwnTurn();
    if (position != 0) {
        if (own) {
            piece->setTrayPosition(position);
            piece->raise();
        }
        scaled::move(piece, {trayLeft(position), TrayTop});
    } else if (own) {
        sendTileHome(piece);
    } else {
        // Shuffles are not relayed: the tile goes to its unshuffled place.
        scaled::move(piece, rackPlace(die));
    }
}

void TrayView::cleartiles()
{
    for (int die = 1; die <= 13; ++die)
        sendTileHome(tile(die));
}

void TrayView::blankTiles()
{
    for (int die = 1; die <= 13; ++die)
        tile(die)->setPictureIndex(0);
}

int TrayView::trayCount() const
{
    return m_session.tray().count();
}

int TrayView::traySlot(int position) const
{
    return m_session.tray().slot(position);
}

// ---------------------------------------------------------------- tile clicks

void TrayView::dice_1MouseDown(TileWidget *piece, Qt::MouseButton button)
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
    if (piece->trayPosition() == m_session.tray().count())
        takeBackLastTile();
    emit chatFocusWanted();
}

bool TrayView::putTileDown(TileWidget *piece)
{
    // The session lays it and says where (tileMoved).
    return m_session.putTile(piece->dieNumber());
}

void TrayView::takeBackLastTile()
{
    m_session.takeBackTile();
}

// ---------------------------------------------------------------- shuffling

void TrayView::changespot(int a, int b)
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
            scaled::move(piece, {piece->homePlace(), scaled::geometry(piece).y()});
}

void TrayView::shufflethem()
{
    QRandomGenerator *random = randomGenerator();
    const bool thirteen = m_session.tray().handSize() == LetterTray::ZwonkedHand;
    if (!m_twoRows) {
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

void TrayView::movetiles()
{
    for (int die = 1; die <= 13; ++die) {
        TileWidget *piece = tile(die);
        const QPoint place = rackPlace(die);
        scaled::move(piece, place);
        piece->setHomePlace(place.x());
    }
    m_backdrop->setTwoRows(m_twoRows);
}

void TrayView::TilesinTwoRows1Click()
{
    // The action has already flipped its own check mark.
    emit optionsChanged();
    hitclear();
    movetiles();
}

void TrayView::Turnoff0key1Click()
{
    emit optionsChanged();
}

// ---------------------------------------------------------------- turn buttons

void TrayView::hitdone()
{
    m_session.submitWord();
}

void TrayView::hitclear()
{
    m_session.clearTray();
    emit chatFocusWanted();
}

void TrayView::hitnew()
{
    // Whether new tiles are allowed is the host's decision.
    if (isOwnTurn()) {
        m_session.buyNewTiles();
        m_buttons->newTiles()->hide();
    }
    emit chatFocusWanted();
}

void TrayView::hitold()
{
    if (isOwnTurn()) {
        m_session.buyOldTiles();
        m_buttons->oldTiles()->hide();
    }
    emit chatFocusWanted();
}

void TrayView::button_doneClick()
{
    hitdone();
    emit chatFocusWanted();
}

void TrayView::button_clearClick() { hitclear(); }
void TrayView::button_newtilesDblClick() { hitnew(); }
void TrayView::button_oldDblClick() { hitold(); }

void TrayView::button_finishClick()
{
    if (m_session.isConnected())
        m_session.finishTurn();
}

// ---------------------------------------------------------------- keyboard

bool TrayView::checkforletter(const QString &letter)
{
    const LetterTray &tray = m_session.tray();
    for (int die = 1; die <= 13; ++die) {
        if (tray.inHand(die) && tray.positionOf(die) == 0 && tray.letter(die) == letter)
            return putTileDown(tile(die));
    }
    return false;
}

bool TrayView::FormShortCut(QKeyEvent *key)
{
    if (!key || !isOwnTurn() || !m_session.settings().typing)
        return false;
    const int code = key->key();
    if (code == Qt::Key_Tab || code == Qt::Key_Backtab) {
        m_buttons->toggleTyping();
        return true;
    }
    if (!m_buttons->typingMode())
        return false;

    // Only the digits of the main keyboard row count, by key, not by character.
    const int digit = mainRowDigit(*key);
    if (code == Qt::Key_Return || code == Qt::Key_Enter)
        hitdone();
    if (code == Qt::Key_Backspace)
        takeBackLastTile();
    if (digit == 1) {
        hitclear();
    } else if (digit == 6 || code == Qt::Key_Space) {
        shufflethem();
    } else if (digit == 0 && !m_turnOff0) {
        hitnew();
    } else {
        const QString letter = myletter(*key);
        if (!letter.isEmpty())
            checkforletter(letter);
    }
    return true;
}

} // namespace zwonky
