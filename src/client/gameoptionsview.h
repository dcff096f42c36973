#pragma once

// The game options panel in the left column (`panel_options`): the target
// score, the time per turn, the zwonk limit, new tiles, typing, fast game
// and the team line. It shows the options the session announces, as the
// game starts and as a late comer catches up.

#include "session/sessionstate.h"

#include <QObject>

class QLabel;
class QWidget;

namespace zwonky {

class ClientSession;

class GameOptionsView : public QObject
{
    Q_OBJECT
public:
    // The panel and its captions are made on `parent` (the window's main panel).
    GameOptionsView(ClientSession &session, QWidget *parent);

    QWidget *panel() const { return m_panel; }
    // "Fast Game: Yes" (tag 2) or "Fast Game: No" (tag 1) on `label_fastgame`.
    void showFastGame(bool fast);

private:
    void onGameStarted(const GameSettings &settings);
    // The catch-up message has always been worded a little differently from
    // the start of a game ("Zwonked at", "ON"/"OFF", "Team Game" without "!").
    void onCaughtUp(const GameSettings &settings);

    QWidget *m_panel = nullptr;           // `panel_options`
    QLabel *m_playToLabel = nullptr;      // `label_playtoscore`
    QLabel *m_timePerTurnLabel = nullptr; // `label_timeperturn`
    QLabel *m_zwonkedAtLabel = nullptr;   // `label_zwonkedat`
    QLabel *m_newLabel = nullptr;         // `label_new`
    QLabel *m_typingLabel = nullptr;      // `label_typing`
    QLabel *m_fastGameLabel = nullptr;    // `label_fastgame` (property "tag")
    QLabel *m_teamLabel = nullptr;        // `label_team`
};

} // namespace zwonky
