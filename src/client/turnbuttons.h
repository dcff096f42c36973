#pragma once

// The turn buttons under the board (`button_done`, `button_clear`,
// `button_newtiles`, `button_old`, `button_finish`) and the typing switch
// (`checkbox_typing`). They are shown on the player's own turn as the game's
// options allow and hidden otherwise, following the session's signals. A
// click is said as a signal; the tray turns it into the session's request.

#include <QObject>

class QCheckBox;
class QPushButton;
class QWidget;

namespace zwonky {

class ClientSession;

class TurnButtons : public QObject
{
    Q_OBJECT
public:
    // The controls are made on `panel`, hidden.
    TurnButtons(ClientSession &session, QWidget *panel, QObject *parent = nullptr);

    QPushButton *done() const { return m_done; }
    QPushButton *clear() const { return m_clear; }
    QPushButton *newTiles() const { return m_newTiles; }
    QPushButton *oldTiles() const { return m_old; }
    QPushButton *finish() const { return m_finish; }
    QCheckBox *typingBox() const { return m_typing; }

    // Typing mode: on when the window opens; the box and Tab flip it.
    bool typingMode() const { return m_typingMode; }
    void toggleTyping();

    // The buttons of the own turn, as at its start.
    void showOwnTurn();
    void hideAll();

signals:
    void doneClicked();
    void clearClicked();
    void newTilesDoubleClicked();
    void oldTilesDoubleClicked();
    void finishClicked();

private:
    void build(QWidget *panel);
    void describe();
    void addKeys(QWidget *panel);

    ClientSession &m_session;
    QPushButton *m_done = nullptr;     // `button_done`
    QPushButton *m_clear = nullptr;    // `button_clear`
    QPushButton *m_newTiles = nullptr; // `button_newtiles` (double click)
    QPushButton *m_old = nullptr;      // `button_old` (double click)
    QPushButton *m_finish = nullptr;   // `button_finish`
    QCheckBox *m_typing = nullptr;     // `checkbox_typing`
    bool m_typingMode = true;
};

} // namespace zwonky
