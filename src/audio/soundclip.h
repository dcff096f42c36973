#pragma once

#include <QString>

#include <array>
#include <optional>

namespace zwonky {

// The clips the program carries: the game's event sounds and the fourteen
// chatter sounds. Each has one file name (":/sounds/<NAME>.wav").
enum class SoundClip {
    BadWord,
    Clear,
    Entered,
    Filled,
    GameOver,
    GoodWord,
    PutTile,
    Zwonked,
    ShowList,
    Time,
    TimeUp,
    Turn,
    TurnNew,
    Wave1,
    Wave2,
    Wave3,
    Wave4,
    Wave5,
    Wave6,
    Wave7,
    Wave8,
    Wave9,
    Wave10,
    Wave11,
    Wave12,
    Wave13,
    Wave14,
};

inline constexpr int ChatterClipCount = 14;
inline constexpr int SoundClipCount = int(SoundClip::Wave14) + 1;

// Every clip, in the order above.
const std::array<SoundClip, SoundClipCount> &allSoundClips();

// The clip's file name without folder and extension, in capitals ("BADWORD", "WAVE3").
QString clipName(SoundClip clip);

// The clip a name stands for, without regard to letter case or surrounding
// blanks ("wave3", " TurnNew"); nothing for any other text.
std::optional<SoundClip> clipNamed(const QString &name);

// Chatter sound 1-14 (the number a request carries); nothing out of range.
std::optional<SoundClip> chatterClip(int number);

} // namespace zwonky
