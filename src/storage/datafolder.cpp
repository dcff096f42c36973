#include "storage/datafolder.h"

#include "storage/userfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace zwonky {

namespace {

// Makes the folder when missing, closed to group and others; an existing
// one of the user's own is closed to writing by others. False when it is
// not the user's own folder afterwards.
bool makeOwnClosedFolder(const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).path()))
        return false;
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return false;
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != ::geteuid())
        return false;
    constexpr mode_t OthersWrite = S_IWGRP | S_IWOTH;
    return (info.st_mode & OthersWrite) == 0
        || ::chmod(native.constData(), info.st_mode & 07777 & ~OthersWrite) == 0;
}

} // namespace

QString installedDesktopEntry(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(
        QStringLiteral(ZWONKY_DATADIR_FROM_BINDIR "/applications/" ZWONKY_APP_ID ".desktop")));
}

bool isInstalledProgram(const QString &programFolder)
{
    return !programFolder.isEmpty() && QFileInfo::exists(installedDesktopEntry(programFolder));
}

QString userDataFolder()
{
    QString app = QCoreApplication::applicationName();
    if (const QString organisation = QCoreApplication::organizationName(); !organisation.isEmpty())
        app = organisation + u'/' + app;
    const QString place = ownStandardLocation(QStandardPaths::AppDataLocation,
                                              QStringLiteral(".local/share/") + app);
    return !place.isEmpty() && makeOwnClosedFolder(place) ? place : QString();
}

QString writableDataFolder(const QString &preferred)
{
    const QFileInfo info(preferred);
    if (info.isDir() && info.isWritable() && !isInstalledProgram(preferred))
        return preferred;
    const QString own = userDataFolder();
    return own.isEmpty() ? preferred : own;
}

} // namespace zwonky
