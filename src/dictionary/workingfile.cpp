#include "dictionary/workingfile.h"

#include "dictionary/mydict.h"
#include "dictionary/programbytes.h"
#include "storage/datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <QTemporaryFile>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

// The word list is compiled into the static core library; naming its
// initialiser here makes the linker keep it. Q_INIT_RESOURCE must be used
// outside any namespace.
static void initWordListResource()
{
    Q_INIT_RESOURCE(wordlist);
}

namespace zwonky {

namespace {

constexpr auto WorkingFileName = "English";
constexpr auto BuiltInListPath = ":/wordlist/english.dat";

bool holdsWholeRecords(qint64 size)
{
    return size > 0 && size % TDictn::RecordSize == 0;
}

// The built-in list is part of the program file's read-only data: once its
// bytes are copied out, the pages that hold them are handed back, so the
// copy does not leave the whole list in the process's memory. They are read
// in again from the file (the page cache) should anything touch them.
void releaseProgramPages(const char *bytes, qsizetype size)
{
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<uintptr_t>(bytes) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<uintptr_t>(bytes) + static_cast<uintptr_t>(size)) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_DONTNEED);
}

// Writes the list into `out` through this process's memory.
bool writeThroughMemory(const BuiltInList &list, QFileDevice &out)
{
    // From the start: a copy by the kernel may have stopped part way.
    if (!out.resize(0) || !out.seek(0))
        return false;
    constexpr qsizetype Chunk = 256 * 1024;
    for (qsizetype done = 0; done < list.bytes.size(); done += Chunk) {
        const qsizetype size = std::min(Chunk, list.bytes.size() - done);
        if (out.write(list.bytes.constData() + done, size) != size)
            return false;
        if (list.inProgramFile)
            releaseProgramPages(list.bytes.constData() + done, size);
    }
    return out.flush() && out.error() == QFileDevice::NoError;
}

// The copy under a name of its own, renamed to `path` once complete; a
// partial copy goes with the temporary file. True when `path` is now ours.
bool writeCopy(const QString &path, const BuiltInList &list, bool replaceBroken)
{
    QTemporaryFile out(path + QStringLiteral(".XXXXXX"));
    if (!out.open())
        return false;
    // A list inside the program's file is copied file to file by the kernel.
    const bool copied = list.inProgramFile
        && copyProgramBytes(list.bytes.constData(), list.bytes.size(), out.handle());
    if (!copied && !writeThroughMemory(list, out))
        return false;
    out.close();
    const QString written = out.fileName();
    bool renamed = false;
    if (replaceBroken) {
        // rename(2) replaces the broken file in one step.
        renamed = std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData())
            == 0;
    } else {
        // Never overwrite a file that appeared in the meantime.
        renamed = QFile::rename(written, path);
    }
    if (renamed)
        out.setAutoRemove(false);
    return renamed;
}

} // namespace

BuiltInList BuiltInList::fromResources()
{
    initWordListResource();
    BuiltInList list;
    const QResource resource(QString::fromLatin1(BuiltInListPath));
    if (resource.isValid()) {
        // Uncompressed resources come back as a view of the program's own
        // bytes, so this costs no copy.
        list.bytes = resource.uncompressedData();
        list.present = true;
        list.inProgramFile = resource.compressionAlgorithm() == QResource::NoCompression
            && list.bytes.constData() == reinterpret_cast<const char *>(resource.data());
    }
    return list;
}

QString workingFilePathFor(const QString &programFolder)
{
    const QString name = QString::fromLatin1(WorkingFileName);
    if (!isInstalledProgram(programFolder))
        return QFileInfo(name).absoluteFilePath();
    const QString folder = userDataFolder();
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name);
}

QString defaultWorkingFilePath()
{
    // Without an application object there is no program folder to ask.
    return workingFilePathFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                           : QString());
}

WorkingFileOutcome provideWorkingFile(const QString &path, const BuiltInList &list)
{
    WorkingFileOutcome outcome;
    if (!list.present || path.isEmpty())
        return outcome;
    const QFileInfo existing(path);
    if (!existing.exists()) {
        outcome.created = writeCopy(path, list, false);
    } else if (existing.isFile() && !holdsWholeRecords(existing.size())) {
        // Cut short, most likely by a run that was killed while copying the
        // list out: used as it is, it would lack words for good.
        outcome.created = writeCopy(path, list, true);
        outcome.brokenFileLeft = !outcome.created;
    }
    return outcome;
}

WorkingFileAhead::WorkingFileAhead()
    : WorkingFileAhead(defaultWorkingFilePath(), BuiltInList::fromResources())
{
}

WorkingFileAhead::WorkingFileAhead(QString path, BuiltInList list)
    : m_path(std::move(path)), m_list(std::move(list)), m_outcome(m_made.get_future())
{
}

WorkingFileAhead::~WorkingFileAhead()
{
    if (m_claimed)
        return;
    if (m_outcome.get().created)
        QFile::remove(m_path);
}

void WorkingFileAhead::provide() noexcept
{
    WorkingFileOutcome outcome;
    try {
        outcome = provideWorkingFile(m_path, m_list);
    } catch (...) {
        // Nothing made: the dictionary then opens what is there, or falls
        // back to the list in memory.
    }
    m_made.set_value(outcome);
}

WorkingFileOutcome WorkingFileAhead::claim()
{
    m_claimed = true;
    return m_outcome.get();
}

} // namespace zwonky
