#pragma once

// What a lobby tells the local network about a game it hosts, and how that
// travels in one UDP datagram. The grammar, one "\n"-ended line each, in
// this order and nothing else:
//
//   datagram = "ZWONKY-LOBBY 1\n" "id=" id "\n" "name=" name "\n" "version=" version "\n"
//   id       = 16 lower-case hexadecimal digits (chosen at random per lobby run)
//   name     = 1-24 printable characters, UTF-8, no blank at either end
//   version  = 1-16 of [0-9A-Za-z._-]
//
// At most MaxDatagramSize bytes. Anything else is not an announcement and is
// dropped whole: a datagram is never half understood.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zwonky::lobby {

inline constexpr qsizetype MaxDatagramSize = 512;
inline constexpr qsizetype MaxNameLength = 24;
inline constexpr qsizetype MaxVersionLength = 16;
inline constexpr qsizetype IdLength = 16;

struct Announcement
{
    QString id;
    QString name;
    QString version;
    bool operator==(const Announcement &) const = default;
};

// The bytes of one datagram. The name is made displayable first
// (displayName); nothing when a field cannot be sent as it is.
std::optional<QByteArray> encodeAnnouncement(const Announcement &announcement);

// The announcement in a datagram, or nothing when it breaks the grammar.
std::optional<Announcement> parseAnnouncement(const QByteArray &datagram);

// A name fit to show: control and formatting characters removed, runs of
// blanks made one blank, trimmed, cut to MaxNameLength characters.
QString displayName(const QString &name);

// A fresh random id for one run of a lobby.
QString newAnnouncementId();

} // namespace zwonky::lobby
