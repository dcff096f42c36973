#pragma once

#include <QObject>
#include <QStringList>

#include <array>

class QMenu;
class QPushButton;
class QWidget;

namespace zwonky {

// The ten small buttons left of the chat log: 1-9 say their phrase (shown
// as the button's tool tip), 10 pops up the chatter sounds `popup_sounds`.
// After a phrase the buttons rest for a hundred dispatch ticks (the gate).
class PhraseButtons : public QObject
{
    Q_OBJECT
public:
    static constexpr int Count = 9;          // buttons with a phrase
    static constexpr int GateTicks = 100;    // ticks the gate stays closed

    // Builds the buttons in a column at the left edge of pane.
    explicit PhraseButtons(QWidget *pane);

    // The phrase of button 1-9 ("" for any other number).
    QString phrase(int button) const;
    QStringList phrases() const;
    void setPhrase(int button, const QString &text);

    // The gate: open until a phrase is said, then closed for GateTicks ticks.
    bool ready() const { return m_ready; }
    void closeGate() { m_ready = false; }
    void tick();

    // Pops up the chatter sounds under button 10.
    void popUpSounds();

signals:
    void phraseClicked(int button);   // 1-9
    void soundsClicked();             // button 10
    void soundChosen(int sound);      // 0 "<Cancel>", 1-14 the sounds

private:
    std::array<QPushButton *, 11> m_buttons{}; // [1..10] `b_phrase`n
    QStringList m_phrases;
    QMenu *m_soundsMenu = nullptr;             // `popup_sounds`
    bool m_ready = true;                       // `phraseready`
    int m_ticks = 0;                           // `phraseticks`
};

} // namespace zwonky
