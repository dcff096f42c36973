#include "client/typingkeys.h"

#include <QKeyEvent>

namespace zwonky {

namespace {

// The key codes of X11 and Wayland (XKB): the main row's "1" to "9" and "0"
// are 10 to 19 on every layout.
constexpr quint32 FirstDigitKeyCode = 10;
constexpr quint32 LastDigitKeyCode = 19;

constexpr bool xkbKeyCodes()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return false;
#else
    return true;
#endif
}

} // namespace

int mainRowDigit(const QKeyEvent &key)
{
    const quint32 code = key.nativeScanCode();
    if (code != 0 && xkbKeyCodes()) {
        if (code < FirstDigitKeyCode || code > LastDigitKeyCode)
            return -1;
        return int(code - FirstDigitKeyCode + 1) % 10;
    }
    // No key code (a key made up by the program): go by the key itself.
    if (key.modifiers().testFlag(Qt::KeypadModifier))
        return -1;
    if (key.key() >= Qt::Key_0 && key.key() <= Qt::Key_9)
        return key.key() - Qt::Key_0;
    return -1;
}

QString letterOfKey(const QKeyEvent &key)
{
    // Qt names a letter key by its upper-case letter, Shift or not.
    const int code = key.key();
    if (code >= Qt::Key_A && code <= Qt::Key_Z)
        return QString(QChar(u'A' + (code - Qt::Key_A)));
    return {};
}

} // namespace zwonky
