#include "net/hostaddress.h"

namespace zwonky {

QString withoutBrackets(const QString &host)
{
    QString text = host.trimmed();
    if (text.size() >= 2 && text.front() == QLatin1Char('[') && text.back() == QLatin1Char(']'))
        text = text.mid(1, text.size() - 2);
    return text;
}

std::optional<QHostAddress> literalAddress(const QString &host)
{
    if (host.size() > MaxHostTextLength)
        return std::nullopt;
    const QString text = withoutBrackets(host);
    if (text.isEmpty())
        return std::nullopt;
    // QHostAddress also takes forms no player means as an address ("1"):
    // an IPv4 address must be four dotted numbers.
    const bool looksV6 = text.contains(QLatin1Char(':'));
    if (!looksV6 && text.count(QLatin1Char('.')) != 3)
        return std::nullopt;
    QHostAddress address;
    if (!address.setAddress(text))
        return std::nullopt;
    if (looksV6 != (address.protocol() == QAbstractSocket::IPv6Protocol))
        return std::nullopt;
    return address;
}

bool isHostName(const QString &host)
{
    if (host.isEmpty() || host.size() > 253)
        return false;
    const QStringList labels = host.split(QLatin1Char('.'));
    for (const QString &label : labels) {
        if (label.isEmpty() || label.size() > 63)
            return false;
        if (label.front() == QLatin1Char('-') || label.back() == QLatin1Char('-'))
            return false;
        for (const QChar c : label) {
            const bool ok = (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                            || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                            || (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                            || c == QLatin1Char('-');
            if (!ok)
                return false;
        }
    }
    return true;
}

std::optional<QString> normalisedHost(const QString &typed)
{
    if (typed.size() > MaxHostTextLength)
        return std::nullopt;
    if (const auto address = literalAddress(typed))
        return address->toString();
    const QString name = typed.trimmed();
    // A dotted text of numbers that is no address is a typing mistake, not a name.
    bool allNumeric = true;
    for (const QChar c : name) {
        if (!c.isDigit() && c != QLatin1Char('.'))
            allNumeric = false;
    }
    if (allNumeric || !isHostName(name))
        return std::nullopt;
    return name.toLower();
}

} // namespace zwonky
