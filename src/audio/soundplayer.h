#pragma once

#include "audio/soundclip.h"

namespace zwonky {

// Plays one built-in clip at a time; a new clip stops the one playing.
// Must never block or fail the game (no audio device is a normal case).
// Tests use a recording fake.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(SoundClip clip) = 0;
    virtual void stop() = 0;
};

} // namespace zwonky
