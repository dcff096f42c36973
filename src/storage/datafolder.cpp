#include "storage/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zwonky {

QString installedDesktopEntry(const QString &programFolder)
{
    return QDir::cleanPath(QDir(programFolder).filePath(
        QStringLiteral(ZWONKY_DATADIR_FROM_BINDIR "/applications/" ZWONKY_APP_ID ".desktop")));
}

QString writableDataFolder(const QString &preferred)
{
    const QFileInfo info(preferred);
    const bool installed = QFileInfo::exists(installedDesktopEntry(preferred));
    if (info.isDir() && info.isWritable() && !installed)
        return preferred;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!own.isEmpty() && QDir().mkpath(own))
        return own;
    return preferred;
}

} // namespace zwonky
