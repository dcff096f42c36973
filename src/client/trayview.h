#pragma once

// The letter tray of the main window: the 13 dice tiles (`dice_`n) on the
// rack, the word tray above it and the backdrop behind both, the keyboard's
// typing mode, the turn buttons (TurnButtons) and the turn clock
// (TurnClockView). It shows the session's letter tray as the session's
// signals say it changed and turns clicks and keys into the session's
// requests. Messages name dice by number only; the host turns numbers back
// into letters when it judges a word.

#include "session/sessionstate.h"

#include <QObject>
#include <QPoint>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QRandomGenerator;
class QWidget;

namespace zwonky {

class BoardBackdrop;
class ClientSession;
class LetterImages;
class TileWidget;
class TurnButtons;
class TurnClockView;

class TrayView : public QObject
{
    Q_OBJECT
public:
    // The tiles, the backdrop and the clock are made on `board`, the turn
    // buttons on `buttonPanel`. `twoRows` (`TilesinTwoRows1`) and `turnOff0`
    // (`Turnoff0key1`) are the window's menu options; either may be null.
    TrayView(ClientSession &session, QWidget *board, QWidget *buttonPanel, QAction *twoRows,
             QAction *turnOff0, QObject *parent = nullptr);
    ~TrayView() override;

    // Shuffles draw from this generator; without one the tray seeds its own.
    void setRandom(QRandomGenerator *generator) { m_random = generator; }
    // Errors of the tray's clicks and keys are handed here.
    void setErrorReporter(std::function<void(const QString &)> report) { m_report = std::move(report); }

    TileWidget *tile(int die) const;
    TurnButtons &buttons() { return *m_buttons; }
    TurnClockView &clock() { return *m_clock; }
    int trayCount() const;
    // Die number at word-tray position 1-10, 0 when empty.
    int traySlot(int position) const;

    // A key typed anywhere in the window; true when the tray took it.
    bool FormShortCut(QKeyEvent *key);

    // the turn's requests, from the buttons and the keys
    void hitdone();
    void hitclear();
    void hitnew();
    void hitold();
    void button_doneClick();
    void button_clearClick();
    void button_newtilesDblClick();
    void button_oldDblClick();
    void button_finishClick();
    void dice_1MouseDown(TileWidget *tile, Qt::MouseButton button);

    // the rack
    void cleartiles();
    // Removes the letters from the 13 tiles (end of a turn).
    void blankTiles();
    void shufflethem();
    void changespot(int a, int b);
    bool checkforletter(const QString &letter);
    // Puts every tile at its rack place for the current rack shape.
    void movetiles();
    void TilesinTwoRows1Click();
    void Turnoff0key1Click();

signals:
    // A tray option of the menu changed; the window saves its settings.
    void optionsChanged();
    // The keyboard belongs to the chat entry again.
    void chatFocusWanted();

private:
    void buildTiles(QWidget *board);
    void wireSession();
    void wireButtons();
    void wireActions();
    void guarded(const std::function<void()> &work);
    void onLettersDealt(DealKind kind);
    void onTileMoved(int position, int die);
    QPoint rackPlace(int die) const;
    int rowTop(int die) const;
    bool isOwnTurn() const;
    QRandomGenerator *randomGenerator();
    void sendTileHome(TileWidget *tile);
    bool putTileDown(TileWidget *tile);
    void takeBackLastTile();

    ClientSession &m_session;
    QAction *m_twoRowsAction = nullptr;  // `TilesinTwoRows1`
    QAction *m_turnOff0Action = nullptr; // `Turnoff0key1`
    bool m_twoRows = false;              // as the menu option says
    bool m_turnOff0 = false;             // as the menu option says
    std::shared_ptr<LetterImages> m_letterImages;  // `imagelist_letters`
    std::array<TileWidget *, 14> m_tiles{};        // [1..13] `dice_`n
    BoardBackdrop *m_backdrop = nullptr;           // word tray and rack picture
    TurnButtons *m_buttons = nullptr;
    TurnClockView *m_clock = nullptr;
    QRandomGenerator *m_random = nullptr;
    std::unique_ptr<QRandomGenerator> m_ownRandom; // while no generator is set
    std::function<void(const QString &)> m_report;
};

} // namespace zwonky
