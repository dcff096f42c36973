#pragma once

// The one recording fake of the sound player: the clips asked for, by their
// file names in lower case ("puttile", "wave3").

#include "audio/soundplayer.h"

#include <QStringList>

namespace zwonky::testing {

class SoundLog : public SoundPlayer
{
public:
    void play(SoundClip clip) override { clips << clipName(clip).toLower(); }
    void stop() override {}
    QString lastClip() const { return clips.isEmpty() ? QString() : clips.last(); }
    QStringList clips;
};

} // namespace zwonky::testing
