#pragma once

#include <QString>

namespace zwonky {

// The folder the program keeps its files in: the preferred one (beside the
// program) when it is a folder that can be written, otherwise the per-user
// application-data folder, made when missing, since an installed program's
// folder is often closed to its users. Falls back to the preferred folder
// when the per-user one cannot be made.
QString writableDataFolder(const QString &preferred);

} // namespace zwonky
