#pragma once

// The working file of the word list: the built-in list copied out for the
// game, as the dictionary (TDictn) searches it. Nothing here needs the
// window system; it may run on any thread.

#include <QByteArray>
#include <QString>

#include <future>

namespace zwonky {

// The word list built into the program.
struct BuiltInList
{
    QByteArray bytes;
    bool present = false;
    bool inProgramFile = false;  // a view of the program's own read-only bytes

    // The program's resource; absent when the program carries none.
    static BuiltInList fromResources();
};

// What providing the working file came to.
struct WorkingFileOutcome
{
    bool created = false;         // written now: whoever keeps it removes it at the end
    bool brokenFileLeft = false;  // a cut file is there and could not be replaced
};

// Where the program in programFolder keeps its working file, as an
// absolute path. Run from its build folder: "English" in the current
// folder. Installed: "English" in the user's own data folder
// (userDataFolder()), never the current folder, which may be anybody's (a
// shared folder, or "/" for a program started by the administrator); empty
// when there is no such folder, and the list is then used from memory.
QString workingFilePathFor(const QString &programFolder);
// The same for this program.
QString defaultWorkingFilePath();

// Puts the built-in list into the working file at `path` (none when it is
// empty), unless a whole list is already there, which is then used as it is. The copy is written
// under a name of its own and takes the real name only when complete, so
// an interrupted copy never looks like a word list; a file whose length is
// not a whole number of records (a copy a kill cut short) is replaced.
WorkingFileOutcome provideWorkingFile(const QString &path, const BuiltInList &list);

// The working file defaultWorkingFilePath(), provided ahead of the
// dictionary on the thread that does the start's side work, while the
// windows are made. The dictionary claims it when the game server makes
// it; a file made here that nobody claimed is removed when this goes.
class WorkingFileAhead
{
public:
    WorkingFileAhead();
    // Another path and list (tests).
    WorkingFileAhead(QString path, BuiltInList list);
    ~WorkingFileAhead();

    WorkingFileAhead(const WorkingFileAhead &) = delete;
    WorkingFileAhead &operator=(const WorkingFileAhead &) = delete;

    const QString &path() const { return m_path; }
    const BuiltInList &list() const { return m_list; }
    // Makes the file. Once, on any thread; every call to claim() and the
    // destructor wait for it, so whoever owns this must see that it runs.
    void provide() noexcept;
    // The outcome, for the dictionary that now keeps the file. Once.
    WorkingFileOutcome claim();

private:
    QString m_path;
    BuiltInList m_list;
    std::promise<WorkingFileOutcome> m_made;
    std::future<WorkingFileOutcome> m_outcome;
    bool m_claimed = false;
};

} // namespace zwonky
