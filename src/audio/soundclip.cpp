#include "audio/soundclip.h"

namespace zwonky {

namespace {

struct ClipEntry
{
    SoundClip clip;
    const char *name;
};

// The one table of clips and their file names.
constexpr std::array<ClipEntry, SoundClipCount> Clips{{
    {SoundClip::BadWord, "BADWORD"},   {SoundClip::Clear, "CLEAR"},
    {SoundClip::Entered, "ENTERED"},   {SoundClip::Filled, "FILLED"},
    {SoundClip::GameOver, "GAMEOVER"}, {SoundClip::GoodWord, "GOODWORD"},
    {SoundClip::PutTile, "PUTTILE"},   {SoundClip::Zwonked, "ZWONKED"},
    {SoundClip::ShowList, "SHOWLIST"}, {SoundClip::Time, "TIME"},
    {SoundClip::TimeUp, "TIMEUP"},     {SoundClip::Turn, "TURN"},
    {SoundClip::TurnNew, "TURNNEW"},   {SoundClip::Wave1, "WAVE1"},
    {SoundClip::Wave2, "WAVE2"},       {SoundClip::Wave3, "WAVE3"},
    {SoundClip::Wave4, "WAVE4"},       {SoundClip::Wave5, "WAVE5"},
    {SoundClip::Wave6, "WAVE6"},       {SoundClip::Wave7, "WAVE7"},
    {SoundClip::Wave8, "WAVE8"},       {SoundClip::Wave9, "WAVE9"},
    {SoundClip::Wave10, "WAVE10"},     {SoundClip::Wave11, "WAVE11"},
    {SoundClip::Wave12, "WAVE12"},     {SoundClip::Wave13, "WAVE13"},
    {SoundClip::Wave14, "WAVE14"},
}};

constexpr bool tableInEnumOrder()
{
    for (std::size_t i = 0; i < Clips.size(); ++i) {
        if (int(Clips[i].clip) != int(i))
            return false;
    }
    return true;
}
static_assert(tableInEnumOrder(), "the clip table follows the order of SoundClip");

} // namespace

const std::array<SoundClip, SoundClipCount> &allSoundClips()
{
    static const std::array<SoundClip, SoundClipCount> clips = [] {
        std::array<SoundClip, SoundClipCount> all{};
        for (std::size_t i = 0; i < Clips.size(); ++i)
            all[i] = Clips[i].clip;
        return all;
    }();
    return clips;
}

QString clipName(SoundClip clip)
{
    const int index = int(clip);
    if (index < 0 || index >= SoundClipCount)
        return {};
    return QString::fromLatin1(Clips[std::size_t(index)].name);
}

std::optional<SoundClip> clipNamed(const QString &name)
{
    const QString wanted = name.trimmed();
    for (const ClipEntry &entry : Clips) {
        if (wanted.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.clip;
    }
    return std::nullopt;
}

std::optional<SoundClip> chatterClip(int number)
{
    if (number < 1 || number > ChatterClipCount)
        return std::nullopt;
    return SoundClip(int(SoundClip::Wave1) + number - 1);
}

} // namespace zwonky
