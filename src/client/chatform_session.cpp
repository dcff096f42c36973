#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: the session is being written.
void Tchat::sendMessage(const QByteArray &) {}
void Tchat::processparams() {}
void Tchat::hostpress() {}
void Tchat::joinpress() {}
void Tchat::kicking(int) {}
void Tchat::startgame() {}
void Tchat::clearall() {}
void Tchat::endturn() {}
void Tchat::sendloginfo(FieldCursor &) {}
void Tchat::newplayerinfo(FieldCursor &) {}
void Tchat::playerdisconnected(FieldCursor &) {}
void Tchat::justwatching(FieldCursor &) {}
void Tchat::startthegame(FieldCursor &) {}
void Tchat::getnextplayer(FieldCursor &) {}
void Tchat::accepted(FieldCursor &) {}
void Tchat::rejected(FieldCursor &) {}
void Tchat::turnend(FieldCursor &) {}
void Tchat::winner(FieldCursor &) {}
void Tchat::buildMenus() {}
void Tchat::buildRows() {}
void Tchat::registerHandlers() {}
void Tchat::setupGameSocket() {}

} // namespace zwonky
