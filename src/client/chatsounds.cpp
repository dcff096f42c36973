#include "client/chatsounds.h"

#include "audio/soundplayer.h"

namespace zwonky {

namespace {

const QString ChatterSoundNotice = QStringLiteral(": <Chatter Sound> ");

} // namespace

const QStringList &ChatSounds::chatterCaptions()
{
    static const QStringList captions{
        QStringLiteral("Doh"),       QStringLiteral("Cough"),    QStringLiteral("Hello"),
        QStringLiteral("Thank You"), QStringLiteral("Where have you been?"),
        QStringLiteral("Snoring"),   QStringLiteral("Sneezing"), QStringLiteral("Sorry"),
        QStringLiteral("Welcome"),   QStringLiteral("Yeehaa"),   QStringLiteral("Yippee"),
        QStringLiteral("Oh No"),     QStringLiteral("Applause"), QStringLiteral("Honk"),
    };
    return captions;
}

std::optional<QString> ChatSounds::captionOf(const QString &sound)
{
    // The names are those of the menu's entries: "Cancel1", "wave1" .. "wave14".
    if (sound.compare(QLatin1String("Cancel1"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("<Cancel>");
    for (int k = 1; k <= int(chatterCaptions().size()); ++k) {
        if (sound.compare(QStringLiteral("wave%1").arg(k), Qt::CaseInsensitive) == 0)
            return chatterCaptions().at(k - 1);
    }
    return std::nullopt;
}

void ChatSounds::playEvent(SoundClip clip)
{
    if (m_eventsOn)
        play(clip);
}

std::optional<QString> ChatSounds::chatter(const QString &sound,
                                           const std::optional<QString> &player)
{
    if (m_chatterOn) {
        if (const std::optional<SoundClip> clip = clipNamed(sound))
            play(*clip);
        return std::nullopt;
    }
    if (!player)
        return std::nullopt;
    const std::optional<QString> caption = captionOf(sound);
    if (!caption)
        return std::nullopt;
    return *player + ChatterSoundNotice + *caption;
}

void ChatSounds::play(SoundClip clip)
{
    // The player never blocks and never fails.
    if (m_player)
        m_player->play(clip);
}

} // namespace zwonky
