#pragma once

#include <QString>

class QKeyEvent;

namespace zwonky {

// The keys of typing mode are known by the key pressed, not by the character
// it types: a letter is the same with or without Shift, and the digits are
// the keys of the main keyboard row whatever the layout puts on them (on a
// French keyboard "1" needs Shift; Shift+1 on an English one types "!").
// The keypad's digits are other keys.

// The digit 0-9 of the main-row key that was pressed, or -1 for any other key.
int mainRowDigit(const QKeyEvent &key);

// "A" to "Z" for the letter keys, empty for every other key.
QString letterOfKey(const QKeyEvent &key);

} // namespace zwonky
