#pragma once

#include "net/protocol.h"
#include "widgets/tiledbackground.h"

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;

namespace zwonky {

class SpinEdit;
class PictureButton;

// The host's game options. The start picture calls the main window's start
// (which sends options() and saves the choice) and hides the window.
class Tgamestartform : public TiledBackground
{
    Q_OBJECT
public:
    // Only the window itself: its controls are made when it is first shown
    // (ensureBuilt); until then the options are kept here.
    explicit Tgamestartform(QWidget *parent = nullptr);

    // Makes the controls, showing the options kept so far, if they are not
    // made yet.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // The main window's start: send the options, then save them.
    void setStartHandler(std::function<void()> start) { m_start = std::move(start); }
    void setAnchor(QWidget *anchor) { m_anchor = anchor; }

    // Launch parameter "s": no fast games in this process.
    void hideFastOption();

    // The options a start sends: each number as its box will hold it, a
    // hidden fast box counts as off; never a team game (the server decides).
    protocol::GameOptions options() const;
    // The options as the player left them, the fast box's tick even while
    // it is hidden (what the settings file keeps).
    protocol::GameOptions chosenOptions() const;
    // Shows the options; each number is held to its box's range. The team
    // flag is not shown.
    void setOptions(const protocol::GameOptions &options);
    // The options the settings file holds. A closed window shows them at
    // once; an open one keeps what the player sees (and may have changed) and
    // shows them when it opens next, unless a game is started from it first
    // (the start stores the player's choice instead).
    void setStoredOptions(const protocol::GameOptions &options);

    // The computer players the host wants at the table (0-5) and their level
    // (1-5); the start fills the table to that count before the game begins.
    int computerPlayers() const;
    int computerLevel() const;
    void setComputerPlayers(int count, int level);

    void button_startClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    SpinEdit *m_playTo = nullptr;      // `playtoscore`
    SpinEdit *m_timePerTurn = nullptr; // `timeperturn`
    SpinEdit *m_zwonked = nullptr;     // `zwonked`
    QCheckBox *m_new = nullptr;        // `new`
    QCheckBox *m_typing = nullptr;     // `typing`
    QCheckBox *m_fast = nullptr;       // `fast`
    QCheckBox *m_team = nullptr;       // `team`
    SpinEdit *m_computers = nullptr;   // `computerplayers`
    QComboBox *m_level = nullptr;      // `computerlevel`
    PictureButton *m_startPicture = nullptr; // `Image1`
    std::function<void()> m_start;
    QWidget *m_anchor = nullptr;
    bool m_built = false;
    // What the controls will show once they are made; the controls hold it
    // from then on.
    protocol::GameOptions m_chosen;
    // Stored options that came while the window was open.
    std::optional<protocol::GameOptions> m_storedForNextOpening;
    bool m_fastHidden = false;
    int m_computerCount = 0;
    int m_computerLevel = 0;
};

} // namespace zwonky
