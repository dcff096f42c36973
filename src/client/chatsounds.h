#pragma once

#include "audio/soundclip.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace zwonky {

class SoundPlayer;

// The sounds of the chat pane: the game's event sounds and the chatter
// sounds players send each other, each with its own on/off option.
class ChatSounds
{
public:
    // The chatter sounds in menu order; entry k plays clip WAVEk.
    static const QStringList &chatterCaptions();
    // The caption a sound's name stands for ("wave3" is "Hello", "cancel1"
    // the menu's "<Cancel>"), without regard to letter case.
    static std::optional<QString> captionOf(const QString &sound);

    void setPlayer(SoundPlayer *player) { m_player = player; }
    bool eventsOn() const { return m_eventsOn; }
    void setEventsOn(bool on) { m_eventsOn = on; }
    bool chatterOn() const { return m_chatterOn; }
    void setChatterOn(bool on) { m_chatterOn = on; }

    // An event sound, played while event sounds are on.
    void playEvent(SoundClip clip);
    // A chatter sound from a peer (any clip name the program carries). With
    // chatter sounds on it is played; otherwise the line telling who made
    // which sound is returned when player is a seat's name and the sound is
    // one of the menu's.
    std::optional<QString> chatter(const QString &sound, const std::optional<QString> &player);

private:
    void play(SoundClip clip);

    SoundPlayer *m_player = nullptr;
    bool m_eventsOn = true;
    bool m_chatterOn = false;
};

} // namespace zwonky
