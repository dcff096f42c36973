#include "storage/userfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace zwonky {

namespace {

bool isInside(const QString &path, const QString &folder)
{
    const QString clean = QDir::cleanPath(path);
    const QString base = QDir::cleanPath(folder);
    return clean == base || clean.startsWith(base.endsWith(u'/') ? base : base + u'/');
}

// Whether the nearest folder of path that exists (path itself, or the
// folder that making it would start in) belongs to another account.
bool startsInForeignFolder(const QString &path)
{
    QString existing = QDir::cleanPath(path);
    struct stat info = {};
    while (::stat(QFile::encodeName(existing).constData(), &info) != 0) {
        const QString up = QFileInfo(existing).path();
        if (errno != ENOENT || up == existing)
            return false;
        existing = up;
    }
    return S_ISDIR(info.st_mode) && info.st_uid != ::geteuid();
}

QString passwordDatabaseHome()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 16384));
    struct passwd entry = {};
    struct passwd *found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found
        || !found->pw_dir)
        return {};
    return QFile::decodeName(found->pw_dir);
}

} // namespace

bool isOwnFolder(const QString &path)
{
    struct stat info = {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0
        && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

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

QString ownPrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return {};
    return isPrivateFolder(path) ? path : QString();
}

QString ownHomeFolder()
{
    for (const QString &home : {qEnvironmentVariable("HOME"), passwordDatabaseHome()}) {
        if (QDir::isAbsolutePath(home) && isOwnFolder(home))
            return QDir::cleanPath(home);
    }
    return ownPrivateFolder(
        QDir(QDir::tempPath()).filePath(QStringLiteral("zwonky-home-%1").arg(::geteuid())));
}

QString ownStandardLocation(QStandardPaths::StandardLocation location, const QString &underHome)
{
    const QString given = QStandardPaths::writableLocation(location);
    const QString givenHome = QDir::homePath();
    const bool inForeignHome = isInside(given, givenHome) && !isOwnFolder(givenHome);
    if (!given.isEmpty() && !inForeignHome && !startsInForeignFolder(given))
        return given;
    const QString home = ownHomeFolder();
    if (home.isEmpty())
        return {};
    const QString own = QDir::cleanPath(QDir(home).filePath(underHome));
    return startsInForeignFolder(own) ? QString() : own;
}

} // namespace zwonky
