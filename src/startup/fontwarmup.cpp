#include "startup/fontwarmup.h"

#include <QFontDatabase>
#include <QStringList>

#include <system_error>

namespace zwonky {

FontWarmup::FontWarmup()
{
    try {
        m_thread = std::thread([] { QFontDatabase::families(); });
    } catch (const std::system_error &) {
        // No thread to spare: the first window to want a font fills the
        // database itself, as it always could.
    }
}

FontWarmup::~FontWarmup()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace zwonky
