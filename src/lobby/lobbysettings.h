#pragma once

// The lobby's own settings, in the section "zwonkylobby" of the game's
// "pellixlobby.ini": the player's name, whether hosted games are announced,
// and the hosts joined last (newest first). Every other line of the file,
// the game's section above all, stays as it is byte for byte.

#include <QString>
#include <QStringList>

namespace zwonky::lobby {

struct LobbySettings
{
    static constexpr qsizetype MaxRecentHosts = 6;

    QString playerName;
    bool announce = true;
    QStringList recentHosts;

    // Puts a host first in the recent list, once, keeping at most MaxRecentHosts.
    void rememberHost(const QString &host);
    bool operator==(const LobbySettings &) const = default;
};

class LobbySettingsFile
{
public:
    static constexpr char Section[] = "zwonkylobby";

    explicit LobbySettingsFile(QString path) : m_path(std::move(path)) {}
    // The game's settings file in this folder (the program's when empty).
    static QString pathIn(const QString &folder);
    QString path() const { return m_path; }

    // Missing file or keys read as defaults; unusable values are skipped.
    LobbySettings load() const;
    // Rewrites the lobby's keys on the file as it is now; false with
    // "Unable to write to <path>" when the file could not be replaced.
    bool save(const LobbySettings &settings, QString *error) const;

private:
    QString m_path;
};

} // namespace zwonky::lobby
