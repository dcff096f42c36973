#pragma once

#include "tally/lzrw1.h"
#include "tally/pellixstrgrid.h"

#include <QString>

namespace zwonky {

// The tally file "zwonkytally.tld": the tally grid as grid text, packed in
// an LZRW1 container, kept in the tally folder. Reading takes the file as
// hostile (size bounded before decoding, column count checked); writing
// replaces the old file only when the new one is complete.
class TallyFile
{
public:
    static inline const QString FileName = QStringLiteral("zwonkytally.tld");
    static inline const QString BadFileSuffix = QStringLiteral(".bad");

    TallyFile();

    // The folder beside the program file, or the per-user application-data
    // folder when that one is not writable.
    static QString defaultFolder();
    // Both where the file is written and where an older one is looked for.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    QString path() const;
    // The file to read at start: the one in the tally folder, or else an
    // older tally beside the program.
    QString sourcePath() const;

    // Reads a grid of `columns` columns from `path` into *grid; on failure
    // *grid is untouched and *error holds the text for the player.
    bool read(const QString &path, int columns, StringGrid *grid, QString *error);
    // Keeps a copy of a file that could not be read beside the tally file
    // (one copy, the latest), since the next save replaces the tally file.
    void keepBadCopy(const QString &path) const;
    // letEventsRun lets pending events run between blocks (not while the
    // window is going away). False when the file could not be written.
    bool write(const StringGrid &grid, bool letEventsRun);

private:
    Tlzrw1 m_doit;                   // `doit`
    QString m_folder;
    QString m_programFolder;         // read from when the tally folder has no file yet
};

} // namespace zwonky
