#pragma once

#include "storage/userfolders.h"

#include <QString>

namespace zwonky {

// The folder where this user's running program keeps what other accounts
// must not touch (the single-instance lock and socket). The first of these
// that is private to the user:
//   1. $XDG_RUNTIME_DIR;
//   2. "zwonky-<user id>" in the temporary folder, created with mode 0700;
//   3. "zwonky-runtime" in the user's cache folder, created with mode 0700
//      (in the user's own home: ownStandardLocation()).
// A folder counts as private when it is a real directory (not a link),
// owned by this user and closed to group and others. A folder of that name
// planted by another account is never used. Empty when none is private.
QString userRuntimeFolder();

} // namespace zwonky
