#pragma once

#include <QString>

namespace zwonky {

// The folder where this user's running program keeps what other accounts
// must not touch (the single-instance lock and socket). The first of these
// that is private to the user:
//   1. $XDG_RUNTIME_DIR;
//   2. "zwonky-<user id>" in the temporary folder, created with mode 0700;
//   3. "zwonky-runtime" in the user's cache folder, created with mode 0700.
// A folder counts as private when it is a real directory (not a link),
// owned by this user and closed to group and others. A folder of that name
// planted by another account is never used. Empty when none is private.
QString userRuntimeFolder();

// Whether path is a directory, not a symbolic link, owned by this user and
// with no access for group or others.
bool isPrivateFolder(const QString &path);

} // namespace zwonky
