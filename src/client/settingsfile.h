#pragma once

// The player's settings, kept in the section "zwonky" of "pellixlobby.ini"
// (a file other programs share, so every other line stays as it is).
// Plain values in and out; the main window applies and collects them.

#include "client/colortext.h"
#include "client/windowbounds.h"
#include "client/windowsize.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace zwonky {

// The start-game window's choices as the file holds them.
struct StoredStartOptions
{
    // Nothing when the stored text is empty or not a number (the window
    // keeps what it shows); otherwise held to the int range.
    std::optional<int> playTo = 5000;
    std::optional<int> timePerTurn = 60;
    std::optional<int> zwonkedAt = 2000;
    bool newTiles = true;
    bool fast = true;
    bool typing = true;
    bool operator==(const StoredStartOptions &) const = default;
};

struct ClientSettings
{
    // As stored: the window still has to be held to a screen.
    WindowBounds bounds{windowsize::ResetLeft, windowsize::ResetTop, windowsize::DefaultWidth,
                        windowsize::DefaultHeight};
    int textSize = 8;                 // as stored; the log takes it held to 1-96
    quint32 textColour = ColourBlack; // 0x00BBGGRR
    quint32 actionColour = ColourBlack;
    // Nothing when saving without a start-game window: its keys stay.
    std::optional<StoredStartOptions> start = StoredStartOptions{};
    std::array<QString, 9> phrases;   // buttons 1-9; empty = not stored
    bool playSounds = true;
    bool turnOff0 = false;
    bool twoRows = false;
    bool newTurnSound = false;        // "Turnsound" 1: the new turn sound
    bool chatterSounds = true;
    bool operator==(const ClientSettings &) const = default;
};

class SettingsFile
{
public:
    static constexpr int PhraseKeys = 9;
    // A font size a hand-edited file cannot turn into a hang of the log.
    static constexpr int LargestTextSize = 96;

    explicit SettingsFile(QString path) : m_path(std::move(path)) {}

    // The file in the folder (the program's folder when empty), or in the
    // per-user data folder when that folder cannot be written.
    static QString pathIn(const QString &folder);

    QString path() const { return m_path; }

    // A missing file or key reads as its default.
    ClientSettings load() const;
    // Writes everything but the phrases. On failure *error is
    // "Unable to write to <path>" and the file keeps its old contents.
    bool save(const ClientSettings &settings, QString *error) const;
    // Writes "Phrase1" .. "Phrase9" and nothing else.
    bool savePhrases(const QStringList &phrases, QString *error) const;

private:
    QString m_path;
};

} // namespace zwonky
