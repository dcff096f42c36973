#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: the settings file is being written.
void Tchat::loadinifile() {}
void Tchat::saveinifile() {}

} // namespace zwonky
