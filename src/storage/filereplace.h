#pragma once

// Writing a whole file so that a failure never costs the old one.
//
// QSaveFile alone is not enough: its commit() renames the new file into
// place even when the last buffered write failed (a full disk), which
// leaves an empty or cut file where the old one was. These functions check
// every write, the flush and the sync to disk before anything is renamed.

#include <QByteArray>
#include <QString>

namespace zwonky {

// Replaces the file at path with data: writes a new file beside it and
// renames it over the old one only once every byte is on disk. On any
// failure (full disk, quota, file size limit, I/O error) the old file keeps
// its contents byte for byte, and no new file is left behind. When the
// folder refuses new files but the file itself is writable, the file is
// rewritten in place (overwriteFileInPlace). Returns whether the new
// contents were stored.
bool replaceFileContents(const QString &path, const QByteArray &data);

// Rewrites an existing file in place, without a second file. The space the
// new contents need beyond the old length is reserved first, so a full disk
// is found before any old byte is overwritten and the file is left as it
// was. Returns false when the file is missing or anything fails.
bool overwriteFileInPlace(const QString &path, const QByteArray &data);

} // namespace zwonky
