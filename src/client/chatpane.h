#pragma once

#include "audio/soundclip.h"
#include "client/chatsounds.h"

#include <QColor>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QLineEdit;
class QMenu;
class QUrl;
class QWidget;

namespace zwonky {

class ChatLogView;
class LinkPointer;
class PhraseButtons;
class SoundPlayer;

// The chat pane: the log `mainchat`, the entry `mychat` under it, the phrase
// buttons left of it, their pop-ups, the chat's colours and text size, and
// the chat's sounds. It shows lines and plays sounds it is given; what the
// player says goes out through the requests it is handed, so the pane never
// sees the connection.
class ChatPane : public QObject
{
    Q_OBJECT
public:
    // What the pane asks of the game. A request not set does nothing.
    struct Requests
    {
        // Whether the entry may send now; while it says no, Enter leaves
        // the text where it is.
        std::function<bool()> canChat;
        std::function<void(const QString &text, const QString &colour)> chat;
        std::function<void(const QString &text, const QString &colour)> action;
        // A phrase button's action line (sent even before the login is through);
        // false when it could not be sent (already reported): the gate stays open.
        std::function<bool(const QString &text, const QString &colour)> phrase;
        std::function<void(int sound)> chatterSound; // 1-14
    };
    // The chat's entries of the window's menus; any may be null.
    struct MenuActions
    {
        QAction *playSounds = nullptr;        // `PlaySounds1`, checkable
        QAction *playChatter = nullptr;       // `PlayChatterSounds1`, checkable
        QAction *textColor = nullptr;         // `TextColor1`
        QAction *actionColor = nullptr;       // `ActionColor1`
        std::array<QAction *, 4> textSizes{}; // `N8` `N10` `N12` `N14`
        QAction *scrollOff = nullptr;         // `ScrollOff1`, checkable
        QAction *phraseList = nullptr;        // `PrhaseList1`
    };
    // The points of the four text sizes, in the order of MenuActions::textSizes.
    static constexpr std::array<int, 4> TextSizes{8, 10, 12, 14};
    // The colour chooser of "Text Color" / "Action Color": the chosen colour,
    // or nothing on Cancel. Tests replace the dialog.
    using ColorChooser = std::function<std::optional<QColor>(const QColor &initial,
                                                             const QString &title)>;

    // Builds the controls on panel (its size is the pane's).
    ChatPane(QWidget *panel, const MenuActions &menu);

    void setRequests(Requests requests);
    void setSoundPlayer(SoundPlayer *player);
    // The phrase editor (Tphrases) "Phrase List" opens; may be null.
    void setPhraseEditor(QWidget *editor);
    void setColorChooser(ColorChooser chooser);
    // Opens a link clicked in the log (the desktop's handler by default).
    void setUrlOpener(std::function<void(const QUrl &)> opener);
    // Asked before a link other than http, https or mailto opens (a question
    // box by default); true opens it.
    void setLinkAsker(std::function<bool(const QString &link)> asker);

    // ---- what the pane is given
    // colour in the 0x00BBGGRR order of colour texts (0xFF0000 is blue).
    // A line longer than a typed one can be is cut to that length.
    void addLine(const QString &line, quint32 colour);
    // A relayed chat or action line and its colour text (red when the
    // colour text names no colour).
    void addRelayed(const QString &text, const QString &colourText);
    // A chatter sound from seat's player (player: the seat's name, nothing
    // when the seat is not a player's).
    void chatterSound(const QString &sound, const std::optional<QString> &player);
    // A game event's sound, played when "Play Sounds" is on.
    void playEvent(SoundClip clip);
    void focusEntry();

    // ---- the player's clicks and keys
    void sendit();
    void b_phrase1Click(int button); // buttons 1-9
    void b_phrase10Click();
    void wave14Click(int sound);     // 0 "<Cancel>", 1-14 the sounds
    void Copy1Click();
    void Paste1Click();
    // Either "Chat Scroll Off" entry; both take the same check mark.
    void ScrollOff1Click(bool on);
    void TextColor1Click();
    void ActionColor1Click();
    void N14Click(int points);
    void PrhaseList1Click();

    // ---- the phrase gate, counted in the dispatch ticks the pane is given
    void dispatchTick();
    bool phraseReady() const;

    // ---- what the settings file keeps
    QString phrase(int button) const;
    QStringList phrases() const;
    void setPhrase(int button, const QString &text);
    // The phrase editor's "Done": new phrases for the buttons, to be stored.
    void applyPhrases(const QStringList &phrases);
    quint32 textColour() const { return m_textColour; }
    void setTextColour(quint32 colour);
    quint32 actionColour() const { return m_actionColour; }
    void setActionColour(quint32 colour) { m_actionColour = colour; }
    int textSize() const { return m_textSize; }
    // The log's text size in points; the view follows as after a new line.
    void setTextSize(int points);
    bool scrollOff() const { return m_scrollOff; }
    bool playSounds() const { return m_sounds.eventsOn(); }
    bool playChatter() const { return m_sounds.chatterOn(); }

signals:
    // A colour, the text size or a sound option was chosen: to be stored.
    void settingsChanged();
    void phrasesEdited(const QStringList &phrases);
    // A phrase went out and the gate closed: the dispatch ticks must run.
    void phraseSent();
    void errorOccurred(const QString &text);

private:
    void buildLog(QWidget *panel, int left, int height);
    void buildEntry(QWidget *panel, int left, int top);
    void wireMenu();
    void guard(const std::function<void()> &work);
    void setHideSelection(bool hide);
    // Drops the oldest lines once the log holds too many.
    // Inserts a line's body, its links underlined.

    MenuActions m_menu;
    Requests m_requests;
    ChatSounds m_sounds;
    PhraseButtons *m_phraseButtons = nullptr;
    ChatLogView *m_log = nullptr;        // `mainchat`
    QLineEdit *m_entry = nullptr;        // `mychat`
    QMenu *m_logPopup = nullptr;         // `PopupMenu1`
    QMenu *m_entryPopup = nullptr;       // `PopupMenu2`
    QAction *m_copyAction = nullptr;     // `Copy1`
    QAction *m_chatScrollOff = nullptr;  // `ChatScrollOff1`
    QAction *m_pasteAction = nullptr;    // `Paste1`
    LinkPointer *m_linkPointer = nullptr;
    QWidget *m_phraseEditor = nullptr;
    ColorChooser m_colorChooser;
    quint32 m_textColour = 0;            // `ColorDialog`
    quint32 m_actionColour = 0;          // `ColorDialog2`
    int m_textSize = 8;
    bool m_scrollOff = false;
};

} // namespace zwonky
