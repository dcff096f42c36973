#include "client/connectionnotice.h"

namespace zwonky {

QString connectFailureNotice(const QString &host, TSock::Failure failure, const QString &detail)
{
    QString reason;
    switch (failure) {
    case TSock::Failure::Refused:
        reason = QStringLiteral("nobody is hosting a game there");
        break;
    case TSock::Failure::NoSuchHost:
        reason = QStringLiteral("no such host");
        break;
    case TSock::Failure::TimedOut:
        reason = QStringLiteral("the connection timed out");
        break;
    case TSock::Failure::None:
    case TSock::Failure::Other:
        reason = detail.trimmed();
        if (reason.isEmpty())
            reason = QStringLiteral("the connection failed");
        else if (reason.size() > 1 && reason.at(1).isLower())
            reason[0] = reason.at(0).toLower(); // "Network unreachable" reads on after the colon
        break;
    }
    return QStringLiteral("Could not connect to ") + host + QStringLiteral(": ") + reason;
}

} // namespace zwonky
