#include "client/chatform.h"

#include "net/fieldcursor.h"

namespace zwonky {

// PLACEHOLDER: the word columns and score board are being written.
void Tchat::clearthem() {}
void Tchat::scores(FieldCursor &) {}
void Tchat::stats(FieldCursor &) {}
void Tchat::loadscores(FieldCursor &) {}
void Tchat::addaword(FieldCursor &) {}
void Tchat::addToWordColumn(int, const QString &) {}
void Tchat::clearWordColumns() {}
void Tchat::buildWordColumns(QWidget *) {}
void Tchat::buildWordListPanel() {}

} // namespace zwonky
