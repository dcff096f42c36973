#pragma once

#include <QString>

namespace zwonky {

// The folder the program keeps its files in: the preferred one (beside the
// program) when it is a folder that can be written and not an installed
// program folder, otherwise the per-user data folder (userDataFolder()). An
// installed program's folder is often closed to its users, and even when it
// is open (to the administrator) it is no place for one user's settings.
// Falls back to the preferred folder when there is no per-user one.
QString writableDataFolder(const QString &preferred);

// The user's own data folder, "Zwonky" in the per-user application-data
// folder (~/.local/share/Zwonky), made when missing. It is a folder the
// user owns and nobody else may write into (a folder of his that others
// could write into is closed to them). When the home folder belongs to
// another account (the administrator started the program with a user's
// HOME), the same place in the home of the user the program runs as is
// taken instead (ownStandardLocation()); nothing is made in the other
// account's home. Empty when no such folder can be had.
QString userDataFolder();

// Whether the program in programFolder is an installed one: the desktop
// entry that installing puts under the prefix is there.
bool isInstalledProgram(const QString &programFolder);

// The desktop entry that installing puts under the prefix, seen from the
// folder the program was installed into.
QString installedDesktopEntry(const QString &programFolder);

} // namespace zwonky
