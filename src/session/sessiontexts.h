#pragma once

// The lines a client session puts in front of the player: notices for the
// chat pane and the announcement bar's texts, exactly as the game words them.

#include "session/sessionstate.h"

#include <QString>

namespace zwonky::sessiontext {

QString connected(bool own, const QString &name);
QString spying(bool own, const QString &name);
QString disconnected(const QString &rowName);
QString hasLeft(const QString &name);
QString watching(const QString &rowName, bool watching);
QString otherVersion(const QString &name);
QString ownVersionDiffers();
QString started(const QString &starter, const GameSettings &settings);
QString purchase(const QString &rowName, bool newTiles);
// The announcement of a scored turn; empty when a fast game keeps another
// seat's gain quiet.
QString turnResult(const QString &rowName, const TurnResult &result, bool announceGain);

} // namespace zwonky::sessiontext
