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
