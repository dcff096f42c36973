#include "storage/filereplace.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zwonky {

namespace {

// The contents and the size reach the disk before the file is put in place
// (the times of the new file need not). A file system that cannot sync (some
// virtual ones) is no failure; one that tried and failed is.
bool syncToDisk(int fd)
{
    if (fd < 0)
        return false;
    if (::fdatasync(fd) == 0)
        return true;
    return errno == EINVAL || errno == EROFS || errno == ENOTSUP;
}

bool writeAll(QFileDevice &file, const QByteArray &data)
{
    return file.write(data) == data.size() && file.flush() && file.error() == QFileDevice::NoError
        && syncToDisk(file.handle());
}

} // namespace

bool replaceFileContents(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.exists() && target.isFile() && target.isWritable() && folder.isDir()
        && !folder.isWritable())
        return overwriteFileInPlace(path, data);

    QSaveFile file(path);
    // Writing straight into the old file would lose it on a failure.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeAll(file, data)) {
        // The new file is removed; the old one was never touched.
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool overwriteFileInPlace(const QString &path, const QByteArray &data)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    const qint64 oldSize = file.size();
    const qint64 newSize = data.size();
    if (newSize > oldSize) {
        const int reserved = ::posix_fallocate(file.handle(), 0, newSize);
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) {
            // Nothing of the old contents was touched; drop whatever part of
            // the reservation the file system granted.
            [[maybe_unused]] const int trimmed = ::ftruncate(file.handle(), oldSize);
            return false;
        }
    }
    if (!writeAll(file, data) || !file.resize(newSize) || !syncToDisk(file.handle()))
        return false;
    return true;
}

} // namespace zwonky
