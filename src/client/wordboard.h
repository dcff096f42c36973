#pragma once

#include "audio/soundclip.h"
#include "session/sessionstate.h"

#include <QObject>

#include <array>
#include <functional>

class QColor;
class QLabel;
class QWidget;

namespace zwonky {

class ClientSession;
class WordColumn;
class WordListPanel;

// The read-out of the running turn: the eight word columns (`list_3` ..
// `list_10`) with their points preview (`label_memo3` .. `label_memo10`) and
// the "Current:" total (`label_thesum`), and the fast game's word-list panel.
// The columns show the words the session holds for the seat whose words the
// host sends this client; the preview counts those words, so it never reads
// a caption back. The host awards the points; the board only previews them.
class WordBoard : public QObject
{
    Q_OBJECT
public:
    static constexpr int ShortestWord = 3;
    static constexpr int LongestWord = 10;

    // Builds the columns into `columnsPanel` and the word-list panel as a
    // child of `window`, over `boardPanel` and the columns.
    WordBoard(ClientSession &session, QWidget *window, QWidget *boardPanel, QWidget *columnsPanel);

    // Where the event sounds go ("filled").
    void setSoundOut(std::function<void(SoundClip)> play) { m_play = std::move(play); }
    // Where the keyboard focus goes when the player closes the word-list panel.
    void setFocusChat(std::function<void()> focus) { m_focusChat = std::move(focus); }

    WordColumn *wordColumn(int length) const;
    WordListPanel &wordLists() const { return *m_wordLists; }
    // The flat and focused colour of a column (a deal opens or shades them).
    void setColumnColours(int length, const QColor &colour);

    // The preview of the column of that length, and the sum of all eight.
    int preview(int length) const;
    int previewTotal() const;

private:
    void buildColumns(QWidget *columnsPanel);
    void onWordAccepted(int seat, int length, const QString &word);
    void onLettersDealt(int seat, DealKind kind);
    void onTurnHandedOver();
    void onTurnEnded(bool byHost);
    void onGameOver(const QString &winnerText);
    void onTurnScored(int seat, const TurnResult &result);
    void showPreview();
    void fitSum();

    ClientSession &m_session;
    std::function<void(SoundClip)> m_play;
    std::function<void()> m_focusChat;
    int m_shownSeat = 0; // whose words the columns show this turn
    std::array<WordColumn *, LongestWord + 1> m_columns{}; // [3..10] `list_`n
    std::array<QLabel *, LongestWord + 1> m_memos{};       // [3..10] `label_memo`n
    QLabel *m_sum = nullptr;                               // `label_thesum`
    WordListPanel *m_wordLists = nullptr;                  // `panel_wordlists`
};

} // namespace zwonky
