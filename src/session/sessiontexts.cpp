#include "session/sessiontexts.h"

namespace zwonky::sessiontext {

QString connected(bool own, const QString &name)
{
    return own ? QStringLiteral("You are Connected.") : name + QStringLiteral(" is Connected.");
}

QString spying(bool own, const QString &name)
{
    return own ? QStringLiteral("You are spying.") : name + QStringLiteral(" is spying.");
}

QString disconnected(const QString &rowName) { return rowName + QStringLiteral(" disconnected."); }

QString hasLeft(const QString &name) { return name + QStringLiteral(" has left."); }

QString watching(const QString &rowName, bool watching)
{
    return rowName + (watching ? QStringLiteral(" is just watching")
                               : QStringLiteral(" now playing again"));
}

QString otherVersion(const QString &name)
{
    return name + QStringLiteral(" has a different version of the game then you.");
}

QString ownVersionDiffers()
{
    return QStringLiteral("You have a differnt version of the game then the host.");
}

QString started(const QString &starter, const GameSettings &settings)
{
    const QString speed = settings.fast ? QStringLiteral(" FAST ") : QStringLiteral(" SLOW ");
    return starter + QStringLiteral(" has started a") + speed
           + (settings.team ? QStringLiteral("TEAM game.") : QStringLiteral("game."));
}

QString purchase(const QString &rowName, bool newTiles)
{
    return rowName + (newTiles ? QStringLiteral(" bought new tiles for 300 points!")
                               : QStringLiteral(" bought the old tiles for 300 points!"));
}

QString turnResult(const QString &rowName, const TurnResult &result, bool announceGain)
{
    // Joined piece by piece: a name may itself contain "%1".
    if (result.lostPoints())
        return rowName + QStringLiteral(" Lost 500 points! ") + QString::number(result.wordCount)
               + QStringLiteral(" words made for ") + QString::number(result.wordPoints)
               + QStringLiteral(" points but that wasn't enough!");
    if (!announceGain)
        return {};
    return rowName + QStringLiteral(" Scored: ") + QString::number(result.points())
           + QStringLiteral(" points! ") + QString::number(result.wordCount)
           + QStringLiteral(" words made for ") + QString::number(result.wordPoints)
           + QStringLiteral(" points plus ") + QString::number(result.bonus)
           + QStringLiteral(" bonus points!");
}

} // namespace zwonky::sessiontext
