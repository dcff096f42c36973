#pragma once

// The lines that say how the game goes: whose turn it is (`label_turn`), the
// host's verdict on the last word and the pauses (`label_status`), the
// announcement bar (`memo_ending`) and the winner's banner (`panel_winner`).
// Each follows the session's news.

#include "session/sessionstate.h"

#include <QObject>

class QLabel;
class QWidget;

namespace zwonky {

class ClientSession;

class TurnStatusView : public QObject
{
    Q_OBJECT
public:
    // The four labels are made on `parent` (the window's main panel).
    TurnStatusView(ClientSession &session, QWidget *parent);

    QLabel *statusLine() const { return m_status; }

private:
    void onTurnStarted(int seat);
    void onCaughtUp(const GameSettings &settings);
    void onWordAccepted(const QString &word);
    void onWordRejected(const QString &word, const QString &reason);
    void onTurnEnded();
    void onGameOver(const QString &winnerText);
    void showOwnTurn();

    ClientSession &m_session;
    QLabel *m_turnLabel = nullptr;   // `label_turn`
    QLabel *m_status = nullptr;      // `label_status`
    QLabel *m_winnerPanel = nullptr; // `panel_winner`
    QLabel *m_ending = nullptr;      // `memo_ending`
};

} // namespace zwonky
