#pragma once

// The main window's menu bar (`MainMenu1`): File, Options, View and Help.
// It builds the entries and keeps their ticks; what an entry does is the
// window's, which connects to the actions handed out here.

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace zwonky {

class MainMenus : public QObject
{
    Q_OBJECT
public:
    static constexpr std::array<int, 4> TextSizes{8, 10, 12, 14};

    // Fills `bar` (the window's menu bar) with the four menus.
    MainMenus(QMenuBar *bar, QObject *parent);

    // File
    QAction *startGame() const { return m_startGame; }         // `StartGame1`
    QAction *exitProgram() const { return m_exit; }            // `Exit1`
    // "Add Computer Player" (one item per level, the level in its data) and
    // "Remove Computer Players"; the host's, and only before a game.
    QMenu *addComputer() const { return m_addComputer; }
    QAction *removeComputers() const { return m_removeComputers; }
    void enableComputerItems(bool enabled);
    // Options
    QAction *playSounds() const { return m_playSounds; }       // `PlaySounds1`
    QAction *playChatter() const { return m_playChatter; }     // `PlayChatterSounds1`
    QAction *classic() const { return m_classic; }             // `Classic1`
    QAction *newSound() const { return m_newSound; }           // `New1`
    QAction *twoRows() const { return m_twoRows; }             // `TilesinTwoRows1`
    QAction *turnOff0() const { return m_turnOff0; }           // `Turnoff0key1`
    QAction *textColor() const { return m_textColor; }         // `TextColor1`
    QAction *actionColor() const { return m_actionColor; }     // `ActionColor1`
    const std::array<QAction *, 4> &textSizes() const { return m_textSizes; } // `N8` .. `N14`
    QAction *scrollOff() const { return m_scrollOff; }         // `ScrollOff1`
    QAction *resetLocation() const { return m_resetLocation; } // `ResetScreenLocation1`
    QAction *justWatch() const { return m_justWatch; }         // `JustWatch1`
    // View
    QAction *viewTally() const { return m_viewTally; }         // `ViewTally1`
    QAction *spyList() const { return m_spyList; }            // `SpyList1`
    QAction *phraseList() const { return m_phraseList; }       // `PrhaseList1`
    // Help
    QAction *help() const { return m_help; }                   // `Help2`
    QAction *about() const { return m_about; }                 // `About1`

    // The turn sound chosen: the ticks of `Classic1`/`New1` and the
    // "tag" of `TurnSound1` (0 classic, 1 new) show it.
    void showTurnSound(bool newSound);
    // Ticks the text size entry of that size (none when no entry has it).
    void showTextSize(int size);
    // A window that is not there cannot be opened: its entry is grey.
    void showCompanionsPresent(bool tally, bool spyList, bool phrases, bool help, bool about);

private:
    void buildFile(QMenuBar *bar);
    void buildOptions(QMenuBar *bar);
    void buildView(QMenuBar *bar);
    void buildHelp(QMenuBar *bar);

    QAction *m_startGame = nullptr;
    QAction *m_exit = nullptr;
    QMenu *m_addComputer = nullptr;
    QAction *m_removeComputers = nullptr;
    QAction *m_playSounds = nullptr;
    QAction *m_playChatter = nullptr;
    QMenu *m_turnSoundMenu = nullptr; // `TurnSound1`
    QAction *m_classic = nullptr;
    QAction *m_newSound = nullptr;
    QAction *m_twoRows = nullptr;
    QAction *m_turnOff0 = nullptr;
    QAction *m_textColor = nullptr;
    QAction *m_actionColor = nullptr;
    std::array<QAction *, 4> m_textSizes{};
    QAction *m_scrollOff = nullptr;
    QAction *m_resetLocation = nullptr;
    QAction *m_justWatch = nullptr;
    QAction *m_viewTally = nullptr;
    QAction *m_spyList = nullptr;
    QAction *m_phraseList = nullptr;
    QAction *m_help = nullptr;
    QAction *m_about = nullptr;
};

} // namespace zwonky
