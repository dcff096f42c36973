#include "tally/tallyfile.h"


#include "net/zwonkyerror.h"
#include "storage/datafolder.h"
#include "storage/filereplace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>

namespace zwonky {

namespace {

// Far beyond any tally; a file claiming more is not ours.
constexpr qint64 MaxTallyBytes = 64 * 1024 * 1024;

} // namespace

TallyFile::TallyFile()
    : m_folder(defaultFolder()), m_programFolder(QCoreApplication::applicationDirPath())
{
}

QString TallyFile::defaultFolder()
{
    return writableDataFolder(QCoreApplication::applicationDirPath());
}

void TallyFile::setFolder(const QString &folder)
{
    m_folder = folder;
    m_programFolder = folder;
}

QString TallyFile::path() const
{
    return QDir(m_folder).filePath(FileName);
}

QString TallyFile::sourcePath() const
{
    const QString own = path();
    if (!QFile::exists(own) && m_programFolder != m_folder)
        return QDir(m_programFolder).filePath(FileName);
    return own;
}

bool TallyFile::read(const QString &path, int columns, StringGrid *grid, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Lzrw1 (de)compression : Failed to open input file : ") + path;
        return false;
    }
    const QByteArray packed = file.read(MaxTallyBytes + 1);
    // The stored size bounds what decoding may produce; refuse absurd ones
    // before any memory is spent on them.
    const qint64 claimed = packed.size() >= 8 && packed.startsWith("WRZL")
        ? qint64(qFromLittleEndian<qint32>(reinterpret_cast<const uchar *>(packed.constData()) + 4))
        : 0;
    if (packed.size() > MaxTallyBytes || claimed > MaxTallyBytes) {
        *error = QStringLiteral("Lzrw1 (decompression LZRW1/KH) : Original and compressed sizes do not match !");
        return false;
    }
    try {
        m_doit.setBetweenBlocks([] { QCoreApplication::processEvents(); });
        const std::vector<std::uint8_t> text = m_doit.decompressData(
            {reinterpret_cast<const std::uint8_t *>(packed.constData()), static_cast<std::size_t>(packed.size())},
            path.toStdString());
        m_doit.setBetweenBlocks({});
        StringGrid read = gridFromText(
            QByteArray(reinterpret_cast<const char *>(text.data()), static_cast<qsizetype>(text.size())));
        if (read.colCount() != columns)
            throw ZwonkyError(QStringLiteral("Tally file has %1 columns instead of %2: %3")
                                  .arg(read.colCount())
                                  .arg(columns)
                                  .arg(path));
        *grid = read;
        return true;
    } catch (const ELzrw1Exception &e) {
        *error = QString::fromStdString(e.what());
    } catch (const ZwonkyError &e) {
        *error = e.text();
    }
    m_doit.setBetweenBlocks({});
    return false;
}

void TallyFile::keepBadCopy(const QString &path) const
{
    const QString bad = this->path() + BadFileSuffix;
    QFile::remove(bad);
    QFile::copy(path, bad);
}

bool TallyFile::write(const StringGrid &grid, bool letEventsRun)
{
    const QByteArray text = gridToText(grid);
    std::vector<std::uint8_t> packed;
    try {
        if (letEventsRun)
            m_doit.setBetweenBlocks([] { QCoreApplication::processEvents(); });
        packed = m_doit.compressData(
            {reinterpret_cast<const std::uint8_t *>(text.constData()), static_cast<std::size_t>(text.size())},
            path().toStdString());
    } catch (const ELzrw1Exception &) {
        packed.clear();
    }
    m_doit.setBetweenBlocks({});
    if (packed.empty())
        return false;
    QDir().mkpath(m_folder);
    return replaceFileContents(
        path(), QByteArray(reinterpret_cast<const char *>(packed.data()), static_cast<qsizetype>(packed.size())));
}

} // namespace zwonky
