#include "startup/startupworker.h"

#include "startup/fontconfigload.h"
#include "windows/downloadform.h"

#include <QFontDatabase>
#include <QStringList>

#include <memory>
#include <system_error>

namespace zwonky {

StartupWorker::StartupWorker(FontConfigLoad *fontConfig, bool lobbyPicture)
{
    if (lobbyPicture)
        m_picture = m_pictureMade.get_future();
    const auto decodePicture = [this, lobbyPicture] {
        if (!lobbyPicture)
            return;
        QImage picture;
        try {
            picture = Tdownload::advertPicture();
        } catch (...) {
            // The window decodes it itself.
        }
        m_pictureMade.set_value(std::move(picture));
    };
    try {
        m_thread.emplace([this, fontConfig, decodePicture] {
            if (fontConfig)
                fontConfig->wait();
            try {
                QFontDatabase::families();
            } catch (...) {
                // The windows fill it themselves; the working file is awaited.
            }
            m_wordList.provide();
            decodePicture();
        });
    } catch (const std::system_error &) {
        // No thread to spare: the working file is made here and now, and the
        // first window to want a font fills the database itself.
        m_wordList.provide();
        decodePicture();
    }
}

std::function<QImage()> StartupWorker::takeLobbyPicture()
{
    if (!m_picture.valid())
        return {};
    // The picture leaves the shared state, so that it is held once only.
    return [picture = std::make_shared<std::future<QImage>>(std::move(m_picture))] {
        return picture->valid() ? picture->get() : QImage();
    };
}

StartupWorker::~StartupWorker()
{
    m_thread.reset();
}

} // namespace zwonky
