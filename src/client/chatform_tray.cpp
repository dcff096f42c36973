#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: the tray is being written.
void Tchat::thedice(FieldCursor &) {}
void Tchat::setdice(FieldCursor &) {}
void Tchat::cleartiles() {}
void Tchat::newtiles(FieldCursor &) {}
void Tchat::oldtiles(FieldCursor &) {}
void Tchat::hitdone() {}
void Tchat::hitclear() {}
void Tchat::hitnew() {}
void Tchat::hitold() {}
void Tchat::Timer2Timer() {}
void Tchat::blankTiles() {}
void Tchat::stopTurnClock() {}
int Tchat::trayCount() const { return 0; }
void Tchat::buildTray(QWidget *) {}
bool Tchat::FormShortCut(QKeyEvent *) { return false; }

} // namespace zwonky
