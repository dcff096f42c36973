#include "startup/fontconfigload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace zwonky {

FontConfigLoad::FontConfigLoad()
{
    try {
        m_thread.emplace([this] {
            // A configuration that cannot be loaded is fontconfig's to
            // report; Qt then finds no fonts either way.
            FcInit();
            m_loaded.count_down();
        });
    } catch (const std::system_error &) {
        m_loaded.count_down();
    }
}

FontConfigLoad::~FontConfigLoad()
{
    m_thread.reset();
}

void FontConfigLoad::wait()
{
    m_loaded.wait();
}

} // namespace zwonky
