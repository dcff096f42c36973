// libFuzzer target for the settings reader: the input is the whole content
// of the settings file. Checked: the INI reader gives every byte back as it
// was; a value written is read back; and the player's settings, once read and
// saved into the same file, read back the same.

#include "fuzzapp.h"

#include "client/inifile.h"
#include "client/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<QTemporaryDir> folder;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    zwonky::fuzz::startQt(argc, argv);
    // Memory-backed when the system has it: one file is written per input.
    const QString shm = QStringLiteral("/dev/shm");
    folder = QDir(shm).exists() ? std::make_unique<QTemporaryDir>(shm + "/zwonky-fuzz-XXXXXX")
                                : std::make_unique<QTemporaryDir>();
    check(folder->isValid());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString path = folder->filePath(QStringLiteral("pellixlobby.ini"));
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        check(file.write(bytes) == bytes.size());
    }

    zwonky::IniFile ini(path);
    check(ini.load());
    check(ini.contents() == bytes);
    const QString value = QStringLiteral("v%1").arg(size);
    ini.writeString(QStringLiteral("zwonky"), QStringLiteral("Fuzz"), value);
    check(ini.readString(QStringLiteral("zwonky"), QStringLiteral("Fuzz")) == value);

    const zwonky::SettingsFile settings(path);
    const zwonky::ClientSettings read = settings.load();
    QString error;
    check(settings.save(read, &error));
    check(settings.load() == read);
    return 0;
}
