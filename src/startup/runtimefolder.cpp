#include "startup/runtimefolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zwonky {

namespace {

// Creates the folder with mode 0700 when it is missing; only a folder that
// is private afterwards is accepted.
QString ownPrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(path) ? path : QString();
}

} // namespace

bool isPrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString userRuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return QDir::cleanPath(runtime);

    const QString shared = QDir(QDir::tempPath())
                               .filePath(QStringLiteral("zwonky-%1").arg(::geteuid()));
    if (const QString own = ownPrivateFolder(shared); !own.isEmpty())
        return own;

    // Another account took that name first: the home folder is ours alone.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return {};
    return ownPrivateFolder(QDir(cache).filePath(QStringLiteral("zwonky-runtime")));
}

} // namespace zwonky
