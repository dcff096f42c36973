#pragma once

#include "net/tsock.h"

#include <QString>

namespace zwonky {

// The chat line that tells the player why the game connection to `host`
// could not be made, in his words rather than the socket's.
QString connectFailureNotice(const QString &host, TSock::Failure failure, const QString &detail);

} // namespace zwonky
