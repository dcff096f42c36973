#include "lobby/lobbysettings.h"

#include "client/inifile.h"
#include "client/settingsfile.h"
#include "lobby/lobbycontroller.h"
#include "net/hostaddress.h"

namespace zwonky::lobby {

namespace {
QString recentKey(qsizetype index)
{
    return QStringLiteral("Recent%1").arg(index + 1);
}
} // namespace

void LobbySettings::rememberHost(const QString &host)
{
    recentHosts.removeAll(host);
    recentHosts.prepend(host);
    while (recentHosts.size() > MaxRecentHosts)
        recentHosts.removeLast();
}

QString LobbySettingsFile::pathIn(const QString &folder)
{
    return SettingsFile::pathIn(folder);
}

LobbySettings LobbySettingsFile::load() const
{
    IniFile ini(m_path);
    ini.load();
    const QString section = QString::fromLatin1(Section);
    LobbySettings settings;
    settings.playerName = playerNameFor(ini.readString(section, QStringLiteral("Name")));
    settings.announce = ini.readString(section, QStringLiteral("Announce"), QStringLiteral("true"))
                        != QLatin1String("false");
    for (qsizetype i = 0; i < LobbySettings::MaxRecentHosts; ++i) {
        const auto host = normalisedHost(ini.readString(section, recentKey(i)));
        if (host && !settings.recentHosts.contains(*host))
            settings.recentHosts << *host;
    }
    return settings;
}

bool LobbySettingsFile::save(const LobbySettings &settings, QString *error) const
{
    // Read again just before writing: the game may have saved meanwhile.
    IniFile ini(m_path);
    ini.load();
    const QString section = QString::fromLatin1(Section);
    ini.writeString(section, QStringLiteral("Name"), settings.playerName);
    ini.writeString(section, QStringLiteral("Announce"),
                    settings.announce ? QStringLiteral("true") : QStringLiteral("false"));
    for (qsizetype i = 0; i < LobbySettings::MaxRecentHosts; ++i)
        ini.writeString(section, recentKey(i), settings.recentHosts.value(i));
    return ini.save(error);
}

} // namespace zwonky::lobby
