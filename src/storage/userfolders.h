#pragma once

// Folders that belong to the user the program runs as. A program started by
// the administrator with another user's HOME (sudo without -H) must not
// leave files it owns in that user's home: every file the program keeps
// goes into a folder of its own user.

#include <QStandardPaths>
#include <QString>

namespace zwonky {

// Whether path is a directory (links followed) owned by the effective user.
bool isOwnFolder(const QString &path);

// Whether path is a directory, not a symbolic link, owned by the effective
// user and with no access for group or others.
bool isPrivateFolder(const QString &path);

// Makes the folder with mode 0700 when it is missing. The path when the
// folder is private afterwards, else empty (a folder of that name that
// another account planted is never taken).
QString ownPrivateFolder(const QString &path);

// The home folder the user's files may go in:
//   1. $HOME, when it is a folder of the user's own;
//   2. the home the password database gives for the effective user id,
//      when it is his own (the administrator's own home under sudo);
//   3. "zwonky-home-<user id>" in the temporary folder, private.
// Empty when none of them can be had.
QString ownHomeFolder();

// Where Qt places `location` for this user, unless that lies in a home
// folder the user does not own: then `underHome` (e.g. ".cache") inside
// ownHomeFolder(). Empty when there is no such place. Nothing is made.
QString ownStandardLocation(QStandardPaths::StandardLocation location, const QString &underHome);

} // namespace zwonky
