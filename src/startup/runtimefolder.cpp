#include "startup/runtimefolder.h"

#include <QDir>

#include <unistd.h>

namespace zwonky {

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
    const QString cache = ownStandardLocation(QStandardPaths::GenericCacheLocation,
                                              QStringLiteral(".cache"));
    if (cache.isEmpty() || !QDir().mkpath(cache))
        return {};
    return ownPrivateFolder(QDir(cache).filePath(QStringLiteral("zwonky-runtime")));
}

} // namespace zwonky
