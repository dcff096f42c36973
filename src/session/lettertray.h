#pragma once

#include "session/sessionstate.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace zwonky {

// The letters in play and the word tray. Dice are numbered 1-13; die k shows
// the k-th letter of the last deal. The tray has places 1-10, each holding
// the number of the die laid there (0 = empty). The own player fills it from
// the left; a watcher's copy follows the moves the host relays.
class LetterTray
{
public:
    static constexpr int DiceCount = 13;
    static constexpr int TrayPlaces = 10;
    static constexpr int NormalHand = 10;
    static constexpr int ZwonkedHand = 13;

    // Letters of dice 1-13 as dealt (one upper-case letter, or empty when the
    // deal did not name that die). Letters past the thirteenth are dropped.
    // A 10- or 13-letter deal sets the hand size; "new" and "old" keep it.
    // Every deal empties the tray: each tile is back on the rack.
    void deal(DealKind kind, const QStringList &letters);
    // The end of a turn: no letters in play any more.
    void blank();

    QString letter(int die) const;
    QStringList letters() const;      // dice 1..handSize
    int handSize() const { return m_handSize; }
    // How many dice the last deal named (letters past the thirteenth not counted).
    int dealtCount() const { return m_dealt; }
    bool inHand(int die) const { return die >= 1 && die <= m_handSize; }

    int count() const { return m_count; }
    bool isFull() const { return m_count >= TrayPlaces; }
    // Die at tray place 1-10; 0 when empty or no such place.
    int slot(int position) const;
    // Tray place of a die; 0 when it lies on the rack.
    int positionOf(int die) const;
    // The dice on the tray, in tray order.
    QList<int> dice() const;
    // The letters on the tray, in tray order.
    QString word() const;

    // Own moves: lays a die on the next free place and returns that place,
    // or 0 when the die is not in hand, already laid, or the tray is full.
    int putNext(int die);
    // Takes the last laid die back and returns its number (0 when empty).
    int takeBackLast();

    // A relayed move: the die goes to that place (1-10), or back to the rack
    // (place 0). false for a place or die that does not exist.
    bool place(int position, int die);

    void clear();

private:
    void recount();

    std::array<QString, DiceCount + 1> m_letters{};   // index 0 unused
    std::array<int, TrayPlaces + 1> m_slots{};        // index 0 unused
    int m_count = 0;
    int m_handSize = NormalHand;
    int m_dealt = 0;
};

} // namespace zwonky
