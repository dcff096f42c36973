#include "lobby/announcement.h"

#include <QList>
#include <QRandomGenerator>
#include <QStringDecoder>

namespace zwonky::lobby {

namespace {

constexpr char Header[] = "ZWONKY-LOBBY 1";

bool isHexId(const QByteArray &text)
{
    if (text.size() != IdLength)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool isVersionText(const QByteArray &text)
{
    if (text.isEmpty() || text.size() > MaxVersionLength)
        return false;
    for (const char c : text) {
        const bool ok = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                        || c == '.' || c == '_' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

// The value of "key=value", or nothing when the line is another key.
std::optional<QByteArray> valueOf(const QByteArray &line, const char *key)
{
    const QByteArray prefix = QByteArray(key) + '=';
    if (!line.startsWith(prefix))
        return std::nullopt;
    return line.mid(prefix.size());
}

bool isShownCharacter(char32_t code)
{
    switch (QChar::category(code)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        return true;
    }
}

} // namespace

QString displayName(const QString &name)
{
    QString shown;
    bool blankPending = false;
    for (const char32_t code : name.toUcs4()) {
        if (!isShownCharacter(code))
            continue;
        if (QChar::isSpace(code)) {
            blankPending = !shown.isEmpty();
            continue;
        }
        const qsizetype extra = (blankPending ? 1 : 0) + (QChar::requiresSurrogates(code) ? 2 : 1);
        if (shown.size() + extra > MaxNameLength)
            break;
        if (blankPending)
            shown.append(QLatin1Char(' '));
        blankPending = false;
        shown.append(QString::fromUcs4(&code, 1));
    }
    return shown;
}

std::optional<QByteArray> encodeAnnouncement(const Announcement &announcement)
{
    const QByteArray id = announcement.id.toLatin1();
    const QByteArray version = announcement.version.toLatin1();
    const QString name = displayName(announcement.name);
    if (!isHexId(id) || !isVersionText(version) || name.isEmpty())
        return std::nullopt;
    QByteArray datagram;
    datagram += Header;
    datagram += "\nid=" + id;
    datagram += "\nname=" + name.toUtf8();
    datagram += "\nversion=" + version + '\n';
    return datagram;
}

std::optional<Announcement> parseAnnouncement(const QByteArray &datagram)
{
    if (datagram.size() > MaxDatagramSize || !datagram.endsWith('\n'))
        return std::nullopt;
    const QList<QByteArray> lines = datagram.first(datagram.size() - 1).split('\n');
    if (lines.size() != 4 || lines.at(0) != Header)
        return std::nullopt;
    const auto id = valueOf(lines.at(1), "id");
    const auto name = valueOf(lines.at(2), "name");
    const auto version = valueOf(lines.at(3), "version");
    if (!id || !name || !version || !isHexId(*id) || !isVersionText(*version))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString nameText = utf8.decode(*name);
    // A name that is not exactly what this side would have sent is not taken
    // and cleaned up: it is refused.
    if (utf8.hasError() || nameText.isEmpty() || displayName(nameText) != nameText)
        return std::nullopt;
    return Announcement{QString::fromLatin1(*id), nameText, QString::fromLatin1(*version)};
}

QString newAnnouncementId()
{
    const quint64 value = QRandomGenerator::system()->generate64();
    return QStringLiteral("%1").arg(value, IdLength, 16, QLatin1Char('0'));
}

} // namespace zwonky::lobby
