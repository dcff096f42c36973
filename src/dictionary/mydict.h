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
// file "English" in the current folder, unless a file of that name is
// already there, in which case that file is used instead for the whole run
// (and left in place at exit, since it is not ours). The copy is written
// under a temporary name and renamed when complete; an existing file whose
// length is not a whole number of records (a copy cut short by a kill) is
// replaced by a fresh copy, which is ours and removed at exit. Every lookup
// is a binary search over the records of the open file, which is mapped into
// memory so that a probe costs no system call; the list is not copied into
// memory. When the file cannot be mapped, or a lookup finds it cut short
// since it was mapped (a bus fault, caught by BusFaultGuard), each probe
// reads its one record from the file instead, for the rest of the run.
//
// When the working file cannot be written or opened (read-only folder, full
// disk), lookups run over the built-in bytes in memory with the same search,
// so words are still judged. Only when neither is possible is the dictionary
// unusable: every lookup answers false and errorText() says why. The
// dictionary never shows a message itself; the start-up code does.
class TDictn : public QObject
{
    Q_OBJECT

public:
    static constexpr int RecordSize = 15;
    static constexpr int KeyWidth = 15;

    // Working file "English" in the current folder, the built-in list from
    // the program's resources; `ahead`, when given, is that file provided
    // beforehand (its path and list are then the ones used).
    explicit TDictn(QObject *parent = nullptr, WorkingFileAhead *ahead = nullptr);
    // The given working-file path and built-in bytes instead of the defaults.
    // builtIn == nullptr means there is no built-in list. The bytes are
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
    void OpenList(WorkingFileAhead *ahead);
    void useBuiltInInMemory();
    bool readRecord(qint64 index);
    void mapRecords();

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
};

} // namespace zwonky
