#include "storage/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zwonky {

QString writableDataFolder(const QString &preferred)
{
    const QFileInfo info(preferred);
    if (info.isDir() && info.isWritable())
        return preferred;
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!own.isEmpty() && QDir().mkpath(own))
        return own;
    return preferred;
}

} // namespace zwonky
