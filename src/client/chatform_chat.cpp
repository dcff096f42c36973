#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: the chat pane is being written.
void Tchat::addlinetochat(const QString &, quint32) {}
void Tchat::chatrecieved(FieldCursor &) {}
void Tchat::playasound(FieldCursor &) {}
void Tchat::playsounds(const QString &) {}
void Tchat::sendit() {}
void Tchat::buildChat(QWidget *) {}

} // namespace zwonky
