#pragma once

#include <QString>
#include <stdexcept>

namespace zwonky {

// The one exception type of the program. It carries the user-facing text
// (for example "Send - Socket Not Connected"); it never crosses the Qt event
// loop: every entry point from the loop catches it and reports it.
class ZwonkyError : public std::runtime_error
{
public:
    explicit ZwonkyError(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    QString text() const { return m_text; }

private:
    QString m_text;
};

} // namespace zwonky

namespace zwonky {

// The guard of every entry point from the event loop (a dispatch tick, a
// socket event, a timer, a UI slot): runs the work, and an exception ends
// that work only, its text handed to `report`. Returns whether the work ran
// to its end.
template <typename Work, typename Report>
bool runGuarded(Work &&work, Report &&report)
{
    try {
        work();
        return true;
    } catch (const ZwonkyError &e) {
        report(e.text());
    } catch (const std::exception &e) {
        report(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

} // namespace zwonky
