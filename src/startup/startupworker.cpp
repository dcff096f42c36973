#include "startup/startupworker.h"

#include "startup/fontconfigload.h"

#include <QFontDatabase>
#include <QStringList>

#include <system_error>

namespace zwonky {

StartupWorker::StartupWorker(FontConfigLoad *fontConfig)
{
    // While a configuration loaded ahead is still on its way, the calling
    // thread, which would only wait for it, makes the working file itself;
    // else the thread makes it once the fonts are in: the windows want
    // those first.
    const bool fileHere = fontConfig && !fontConfig->done();
    try {
        m_thread.emplace([this, fontConfig, fileHere] {
            if (fontConfig)
                fontConfig->wait();
            try {
                QFontDatabase::families();
            } catch (...) {
                // The windows fill it themselves; the working file is awaited.
            }
            if (!fileHere)
                m_wordList.provide();
        });
    } catch (const std::system_error &) {
        // No thread to spare: the working file is made here and now, and the
        // first window to want a font fills the database itself.
        m_wordList.provide();
        return;
    }
    if (fileHere)
        m_wordList.provide();
}

StartupWorker::~StartupWorker()
{
    m_thread.reset();
}

} // namespace zwonky
