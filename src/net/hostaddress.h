#pragma once

// A host as a player types it: a name, a dotted IPv4 address, or an IPv6
// address with or without brackets and with an optional zone ("%eth0").

#include <QHostAddress>
#include <QString>

#include <optional>

namespace zwonky {

// The longest host text that is looked at at all.
inline constexpr qsizetype MaxHostTextLength = 255;

// The text without surrounding blanks and without one pair of brackets
// around it ("[fe80::1%eth0]" -> "fe80::1%eth0").
QString withoutBrackets(const QString &host);

// The address when the text is a literal IPv4 or IPv6 address (brackets and
// a zone allowed); nothing for a name.
std::optional<QHostAddress> literalAddress(const QString &host);

// A DNS host name: labels of letters, digits and "-", joined by ".", each
// 1-63 characters, at most 253 in all.
bool isHostName(const QString &host);

// The host in the form the game's command line takes: a literal address as
// its plain text (zone kept), a name in lower case; nothing when the text is
// neither.
std::optional<QString> normalisedHost(const QString &typed);

} // namespace zwonky
