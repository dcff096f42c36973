#pragma once

#include "dictionary/workingfile.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

#include <array>
#include <cstdint>

namespace zwonky {

// The word list lookup of the game server: is this string a word?
//
// The list is a file of 15-byte records (0x1E, then the upper-case word
// left-aligned and padded with spaces to 14 bytes), sorted by the bytes of
// the 14-byte field. At creation the built-in list is copied to the working
// file "English" (defaultWorkingFilePath(): the current folder for a program
// run from its build folder, the user's own data folder for an installed
// one), unless a file of that name is already there, in which case that
// file is used instead for the whole run (and left in place at exit, since
// it is not ours). The copy is written under a temporary name and renamed
// when complete; an existing file whose length is not a whole number of
// records (a copy cut short by a kill) is replaced by a fresh copy, which is
// ours and removed at exit. Every lookup is a binary search over the records
// of the open file, which is mapped into memory so that a probe costs no
// system call; the list is not copied into memory. When the file cannot be
// mapped, each probe reads its one record from the file instead.
//
// The file may be cut short or overwritten with zeros while the game runs.
// A lookup that finds a record gone (a bus fault on the mapping, caught by
// BusFaultGuard, or a short read) or probes a zeroed record (not in key
// shape, and without the marker that every sampled record had at open)
// takes the file as broken: from then on the built-in list in memory
// answers, so verdicts stay right. Only a miss is judged this way (a cut or
// zeroed record never matches a key), and a marker is looked at only on the
// long way of a record not in key shape, so a lookup costs what it did.
// Without a built-in list the broken file goes on being read.
//
// When the working file cannot be written or opened (read-only folder, full
// disk, no folder for it), lookups run over the built-in bytes in memory
// with the same search, so words are still judged. Only when neither is
// possible is the dictionary unusable: every lookup answers false and
// errorText() says why. The dictionary never shows a message itself; the
// start-up code does.
class TDictn : public QObject
{
    Q_OBJECT

public:
    static constexpr int RecordSize = 15;
    static constexpr int KeyWidth = 15;
    // A lookup key: the word in the shape of a record's 14-byte field. A
    // key that can match has at most 14 characters once trimmed, upper-cased
    // and padded with blanks to the field width. Record texts are always the
    // 14-byte field shape plus one blank, so the 15th byte of a key of 14 or
    // fewer characters always agrees, and 14 bytes decide every comparison.
    using KeyField = std::array<char, RecordSize - 1>;

    // Working file defaultWorkingFilePath(), the built-in list from the
    // program's resources; `ahead`, when given, is that file provided
    // beforehand (its path and list are then the ones used).
    explicit TDictn(QObject *parent = nullptr, WorkingFileAhead *ahead = nullptr);
    // The given working-file path and built-in bytes instead of the defaults.
    // An empty path means no working file; builtIn == nullptr means there is
    // no built-in list. The bytes are
    // copied (implicitly shared), so the caller need not keep them alive.
    TDictn(const QString &workingFile, const QByteArray *builtIn, QObject *parent = nullptr);
    ~TDictn() override;

    // True when the word is in the list: case of a..z and leading or
    // trailing blanks do not matter; a key of 15 or more characters never
    // matches. Throws ZwonkyError when the working file cannot be read
    // (a short read at the end of the file simply answers false).
    bool IsWord(const QString &word);

    bool isUsable() const;
    QString errorText() const;

    // How the words are looked up; for diagnostics and tests.
    enum class Source { None, WorkingFile, BuiltInMemory };
    Source source() const { return m_source; }
    // Number of whole records in the list being searched.
    qint64 recordCount() const { return m_lastIndex + 1; }
    QString workingFilePath() const { return m_path; }
    // True when the working file's records are searched through a mapping.
    bool isMapped() const { return m_map != nullptr; }
    // Drops the mapping: from now on every probe reads its record from the
    // file, as when the file cannot be mapped.
    void readWithoutMapping();
    // Closes the list and removes the working file if this dictionary made
    // it; every lookup answers false from then on. Destruction does it too.
    void CloseList();

private:
    // What one search over the records came to. A miss is only as good as
    // the records it probed: `intact` is false when a record could not be
    // read where one should be, and `strayMarkers` gathers the bits by which
    // the probed records' first bytes differ from the record marker (for
    // records not in key shape). A hit needs neither: no cut or zeroed
    // record ever matches a key.
    struct Search
    {
        bool found = false;
        bool intact = true;
        unsigned strayMarkers = 0;
    };

    void OpenList(WorkingFileAhead *ahead);
    bool markersAtOpen();
    void useBuiltInInMemory();
    void judgeFromBuiltIn();
    bool readRecord(qint64 index);
    void mapRecords();
    Search searchWorkingFile(const KeyField &key);
    // Binary search over records 0..lastIndex. fetch(index) yields a pointer
    // to the record's 14-byte field, whose marker byte precedes it, or
    // nullptr when no record could be read there.
    template <typename Fetch>
    static Search searchRecords(const KeyField &key, qint64 lastIndex, Fetch fetch);

    QString m_path;
    BuiltInList m_list;
    QFile m_file;
    bool m_open = false;          // the open flag: usable from creation to destruction
    bool m_createdFile = false;   // we wrote the working file, so we remove it
    Source m_source = Source::None;
    qint64 m_lastIndex = -1;
    std::array<char, RecordSize> m_record{};
    uchar *m_map = nullptr;       // the records of m_file, when mapped
    qint64 m_mappedLength = 0;
    // 0xFF when the file's records carried the marker at open, so that a
    // probed record without it shows the file broken; 0 otherwise.
    unsigned m_markerMask = 0;
};

} // namespace zwonky
