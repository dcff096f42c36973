#include "startup/startupworker.h"

#include "startup/fontconfigload.h"

#include <QFontDatabase>
#include <QStringList>

#include <system_error>

namespace zwonky {

StartupWorker::StartupWorker(FontConfigLoad *fontConfig)
{
    try {
        m_thread.emplace([this, fontConfig] {
            if (fontConfig)
                fontConfig->wait();
            try {
                QFontDatabase::families();
            } catch (...) {
                // The windows fill it themselves; the working file is awaited.
            }
            m_wordList.provide();
        });
    } catch (const std::system_error &) {
        // No thread to spare: the working file is made here and now, and the
        // first window to want a font fills the database itself.
        m_wordList.provide();
    }
}

StartupWorker::~StartupWorker()
{
    m_thread.reset();
}

} // namespace zwonky
