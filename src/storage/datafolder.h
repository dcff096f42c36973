#pragma once

#include <QString>

namespace zwonky {

// The folder the program keeps its files in: the preferred one (beside the
// program) when it is a folder that can be written and not an installed
// program folder, otherwise the per-user application-data folder, made when
// missing. An installed program's folder is often closed to its users, and
// even when it is open (to the administrator) it is no place for one user's
// settings. Falls back to the preferred folder when the per-user one cannot
// be made.
QString writableDataFolder(const QString &preferred);

// The desktop entry that installing puts under the prefix, seen from the
// folder the program was installed into. Its presence marks that folder as
// an installed one.
QString installedDesktopEntry(const QString &programFolder);

} // namespace zwonky
