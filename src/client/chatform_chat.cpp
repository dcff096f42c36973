#include "client/chatform.h"

#include "client/colortext.h"
#include "client/rteurl.h"
#include "audio/soundplayer.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "net/tsock.h"
#include "net/zwonkyerror.h"
#include "windows/phrasesform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>


namespace zwonky {

namespace {

const QString EnterChatHere = QStringLiteral("<Enter Chat Here>");
const QString ChatterSoundNotice = QStringLiteral(": <Chatter Sound> ");
constexpr int PhraseButtons = 9;
constexpr int LastSeatWithSounds = 6;
// A typed line is at most as long as the entry takes; a relayed line adds
// the sender's name and a few words of the server's to it.
constexpr int MaxChatEntryLength = 32767;
constexpr int MaxChatLineLength = MaxChatEntryLength + 1024;

const QStringList &builtInPhrases()
{
    static const QStringList phrases{
        QStringLiteral("Way To Go!"), QStringLiteral("Good One!"),
        QStringLiteral("Nice Try!"),  QStringLiteral("Excellent!"),
        QStringLiteral("Brilliant!"), QStringLiteral("Wow, WTG!"),
        QStringLiteral("Thanks!"),    QStringLiteral("Way To Go Teamie!"),
        QStringLiteral("Good Game Everyone!"),
    };
    return phrases;
}

// Chatter sounds in menu order; entry k plays clip WAVEk.
const QStringList &chatterCaptions()
{
    static const QStringList captions{
        QStringLiteral("Doh"),      QStringLiteral("Cough"),    QStringLiteral("Hello"),
        QStringLiteral("Thank You"), QStringLiteral("Where have you been?"),
        QStringLiteral("Snoring"),  QStringLiteral("Sneezing"), QStringLiteral("Sorry"),
        QStringLiteral("Welcome"),  QStringLiteral("Yeehaa"),   QStringLiteral("Yippee"),
        QStringLiteral("Oh No"),    QStringLiteral("Applause"), QStringLiteral("Honk"),
    };
    return captions;
}

// The terminator byte is the character U+00FF in the wire's code page; a
// text holding it would end the message early and the rest would reach the
// server as a message of its own.
QString wireSafe(QString text)
{
    text.replace(QChar(0xFF), QLatin1Char('?'));
    return text;
}

// The chat log: copies its selection as plain text only.
class ChatLogView : public QTextEdit
{
public:
    using QTextEdit::QTextEdit;

protected:
    QMimeData *createMimeDataFromSelection() const override
    {
        auto *data = new QMimeData;
        data->setText(textCursor().selection().toPlainText());
        return data;
    }
};

// Routes the key presses of one widget to a handler before the widget sees them.
class KeyHook : public QObject
{
public:
    KeyHook(QWidget *widget, std::function<bool(QKeyEvent *)> handler)
        : QObject(widget), m_handler(std::move(handler))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        Q_UNUSED(watched);
        if (event->type() == QEvent::KeyPress)
            return m_handler(static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    std::function<bool(QKeyEvent *)> m_handler;
};

} // namespace

// ---------------------------------------------------------------- building

// The chat pane: ten small buttons in a column, the log right of them and
// the entry under the log.
void Tchat::buildChat(QWidget *chatPanel)
{
    QWidget *pane = chatPanel ? chatPanel : this;
    const int paneWidth = chatPanel ? chatPanel->width() : 523;
    const int paneHeight = chatPanel ? chatPanel->height() : 152;
    constexpr int ButtonWidth = 22;
    constexpr int ButtonPitch = 15;
    constexpr int EntryHeight = 24;
    const int logLeft = ButtonWidth + 4;

    auto guard = [this](const std::function<void()> &work) {
        try {
            work();
        } catch (const ZwonkyError &e) {
            reportError(e.text());
        }
    };

    QFont buttonFont = font();
    buttonFont.setPixelSize(9);
    buttonFont.setBold(true);
    for (int k = 1; k <= 10; ++k) {
        auto *button = new QPushButton(k <= PhraseButtons ? QString::number(k)
                                                           : QStringLiteral("\u266A"),
                                       pane);
        button->setObjectName(QStringLiteral("b_phrase%1").arg(k));
        button->setGeometry(0, (k - 1) * ButtonPitch, ButtonWidth, ButtonPitch - 1);
        button->setFont(buttonFont);
        button->setFocusPolicy(Qt::NoFocus);
        button->setToolTip(k <= PhraseButtons ? builtInPhrases().at(k - 1)
                                              : QStringLiteral("See ya!"));
        if (k <= PhraseButtons) {
            connect(button, &QPushButton::clicked, this,
                    [this, k, guard] { guard([this, k] { b_phrase1Click(k); }); });
        } else {
            connect(button, &QPushButton::clicked, this,
                    [this, guard] { guard([this] { b_phrase10Click(); }); });
        }
        m_phraseButtons[std::size_t(k)] = button;
    }

    auto *log = new ChatLogView(pane);
    m_chatLog = log;
    log->setObjectName(QStringLiteral("mainchat"));
    log->setGeometry(logLeft, 0, paneWidth - logLeft, paneHeight - EntryHeight - 2);
    log->setReadOnly(true);
    log->setUndoRedoEnabled(false); // a log that only grows keeps no history
    log->setFocusPolicy(Qt::ClickFocus); // Tab passes it by
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setLineWrapMode(QTextEdit::WidgetWidth);
    log->document()->setDocumentMargin(5);
    QFont logFont(QStringLiteral("MS Sans Serif"));
    logFont.setStyleHint(QFont::SansSerif);
    logFont.setPointSize(8);
    log->setFont(logFont);
    QPalette logPalette = log->palette();
    logPalette.setColor(QPalette::Base, Qt::white);
    log->setPalette(logPalette);
    m_linkPointer = new LinkPointer(log);

    m_chatEntry = new QLineEdit(pane);
    m_chatEntry->setObjectName(QStringLiteral("mychat"));
    m_chatEntry->setGeometry(logLeft, paneHeight - EntryHeight, paneWidth - logLeft, EntryHeight);
    QFont entryFont(QStringLiteral("Arial"));
    entryFont.setStyleHint(QFont::SansSerif);
    entryFont.setPixelSize(13);
    m_chatEntry->setFont(entryFont);
    m_chatEntry->setText(EnterChatHere);
    m_chatEntry->setMaxLength(MaxChatEntryLength);
    setChatTextColour(m_textColour);
    new KeyHook(m_chatEntry, [this, guard](QKeyEvent *key) {
        // mychatKeyDown: the first key clears the invitation.
        if (m_chatEntry->text() == EnterChatHere)
            m_chatEntry->clear();
        // mychatKeyPress: Enter sends and goes no further.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            guard([this] { sendit(); });
            return true;
        }
        // The entry's menu owns Ctrl+V: it replaces the whole text.
        if (key->matches(QKeySequence::Paste)) {
            Paste1Click();
            return true;
        }
        return false;
    });

    // The log's menu.
    m_logPopup = new QMenu(this);
    m_logPopup->setObjectName(QStringLiteral("PopupMenu1"));
    m_copyAction = m_logPopup->addAction(QStringLiteral("Copy"));
    m_copyAction->setObjectName(QStringLiteral("Copy1"));
    m_copyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    m_copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_logPopup->addSeparator();
    m_chatScrollOff = m_logPopup->addAction(QStringLiteral("Chat Scroll Off"));
    m_chatScrollOff->setObjectName(QStringLiteral("ChatScrollOff1"));
    m_chatScrollOff->setCheckable(true);
    m_chatScrollOff->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_chatScrollOff->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    log->addAction(m_copyAction);
    log->addAction(m_chatScrollOff);
    log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(log, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_logPopup->popup(m_chatLog->viewport()->mapToGlobal(at));
    });
    connect(m_copyAction, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(m_chatScrollOff, &QAction::triggered, this,
            [this] { ScrollOff1Click(m_chatScrollOff); });

    // The entry's menu.
    m_entryPopup = new QMenu(this);
    m_entryPopup->setObjectName(QStringLiteral("PopupMenu2"));
    m_pasteAction = m_entryPopup->addAction(QStringLiteral("Paste"));
    m_pasteAction->setObjectName(QStringLiteral("Paste1"));
    m_pasteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    m_chatEntry->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_chatEntry, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_entryPopup->popup(m_chatEntry->mapToGlobal(at));
    });
    connect(m_pasteAction, &QAction::triggered, this, [this] { Paste1Click(); });

    // The chatter sounds.
    m_soundsPopup = new QMenu(this);
    m_soundsPopup->setObjectName(QStringLiteral("popup_sounds"));
    m_soundsPopup->setToolTipsVisible(true);
    QAction *cancel = m_soundsPopup->addAction(QStringLiteral("<Cancel>"));
    cancel->setObjectName(QStringLiteral("Cancel1"));
    cancel->setProperty("tag", 0);
    for (int k = 1; k <= int(chatterCaptions().size()); ++k) {
        const QString &caption = chatterCaptions().at(k - 1);
        QAction *entry = m_soundsPopup->addAction(caption);
        entry->setObjectName(QStringLiteral("wave%1").arg(k));
        entry->setProperty("tag", k);
        entry->setToolTip(caption);
    }
    for (QAction *entry : m_soundsPopup->actions()) {
        connect(entry, &QAction::triggered, this,
                [this, entry, guard] { guard([this, entry] { wave14Click(entry); }); });
    }

    // The phrase gate counts dispatch ticks; while it is closed the
    // dispatch timer must keep ticking even with nothing to dispatch.
    m_pump.setAfterTick([this] {
        phraseTick();
        closeWhenSettled();
    });
    m_pump.setKeepTicking([this] { return !m_phraseReady; });

    wireChatOptions();
    applyMinimumSize();
}

// The chat options of the Options and View menus (the menus are built first).
void Tchat::wireChatOptions()
{
    auto guard = [this](const std::function<void()> &work) {
        try {
            work();
        } catch (const ZwonkyError &e) {
            reportError(e.text());
        }
    };
    if (m_playSounds)
        connect(m_playSounds, &QAction::triggered, this, [this, guard] {
            guard([this] { PlaySounds1Click(); });
        });
    if (m_playChatter)
        connect(m_playChatter, &QAction::triggered, this, [this, guard] {
            guard([this] { PlayChatterSounds1Click(); });
        });
    if (m_textColor)
        connect(m_textColor, &QAction::triggered, this,
                [this, guard] { guard([this] { TextColor1Click(); }); });
    if (m_actionColor)
        connect(m_actionColor, &QAction::triggered, this,
                [this, guard] { guard([this] { ActionColor1Click(); }); });
    for (QAction *size : m_textSizes) {
        if (!size)
            continue;
        // Only loading the settings moves these check marks.
        size->setCheckable(true);
        connect(size, &QAction::triggered, this, [this, size, guard](bool checked) {
            size->setChecked(!checked);
            guard([this, size] { N14Click(size); });
        });
    }
    if (m_scrollOff)
        connect(m_scrollOff, &QAction::triggered, this, [this] { ScrollOff1Click(m_scrollOff); });
    if (m_resetLocation)
        connect(m_resetLocation, &QAction::triggered, this,
                [this, guard] { guard([this] { ResetScreenLocation1Click(); }); });
    if (m_phraseList)
        connect(m_phraseList, &QAction::triggered, this,
                [this, guard] { guard([this] { PrhaseList1Click(); }); });
}

// ---------------------------------------------------------------- the log

void Tchat::addlinetochat(const QString &line, quint32 colour)
{
    if (!m_chatLog)
        return;
    // Longer lines come from no typing player; they are cut before the log
    // lays them out and looks for their links.
    const QString text = line.left(MaxChatLineLength);
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    const QString head = colon >= 0 ? text.left(colon + 1) : QString();
    const QString body = colon >= 0 ? text.mid(colon + 1) : text;

    QTextEdit *log = m_chatLog;
    QScrollBar *scroll = log->verticalScrollBar();
    const bool keepView = m_scrollOff && m_scrollOff->isChecked();
    log->setUpdatesEnabled(false);
    const QTextCursor caret = log->textCursor();
    const int firstVisible = scroll->value();

    QTextCursor end(log->document());
    end.movePosition(QTextCursor::End);
    // One edit: the document lays the line out once, not once per link.
    end.beginEditBlock();
    QTextCharFormat format;
    format.setForeground(colorFromValue(colour));
    format.setFontWeight(QFont::Bold);
    end.insertText(head, format);
    format.setFontWeight(QFont::Normal);
    insertBody(end, body, format);
    end.insertBlock(QTextBlockFormat(), format);
    end.endEditBlock();

    if (keepView) {
        log->setTextCursor(caret);
        scroll->setValue(firstVisible);
    } else {
        log->setTextCursor(end);
        scroll->setValue(scroll->maximum());
    }
    log->setUpdatesEnabled(true);
    log->viewport()->update();
}

void Tchat::insertBody(QTextCursor &at, const QString &body, const QTextCharFormat &format)
{
    // Links look like links, in the line's own colour, so a player sees
    // what a click will open.
    QTextCharFormat linkFormat = format;
    linkFormat.setFontUnderline(true);
    qsizetype done = 0;
    for (const CharRange &link : findLinks(body)) {
        at.insertText(body.mid(done, link.start - done), format);
        at.insertText(body.mid(link.start, link.end - link.start), linkFormat);
        done = link.end;
    }
    at.insertText(body.mid(done), format);
}

void Tchat::chatrecieved(FieldCursor &args)
{
    const QString text = args.takeRest();
    const qsizetype bar = text.indexOf(QLatin1Char('|'));
    if (bar < 0) {
        addlinetochat(text, ColourRed);
        return;
    }
    const std::optional<quint32> colour = textToColor(text.mid(bar + 1));
    addlinetochat(text.left(bar), colour.value_or(ColourRed));
}

// ---------------------------------------------------------------- sending

void Tchat::sendit()
{
    if (!m_connected || !m_chatEntry)
        return;
    const QString text = wireSafe(m_chatEntry->text());
    if (!text.isEmpty()) {
        if (!text.startsWith(QLatin1Char('/'))) {
            sendMessage(protocol::chat(m_ownSeat, text, colorToText(m_textColour)));
        } else if (text.startsWith(QLatin1String("/me"))) {
            // The first four characters go, whatever the fourth one is.
            sendMessage(protocol::action(m_ownSeat, text.mid(4), colorToText(m_actionColour)));
        }
        // Any other "/" text is a command this client does not know.
    }
    m_chatEntry->clear();
}

void Tchat::sendPhraseMessage(const QByteArray &message)
{
    // Phrases go out whether or not the login is through; a connection that
    // is not open says so like any other send.
    if (!m_sock)
        throw ZwonkyError(QStringLiteral("Send - Socket Not Connected"));
    m_sock->sendText(message);
}

void Tchat::b_phrase1Click(int button)
{
    if (!m_phraseReady || button < 1 || button > PhraseButtons)
        return;
    const QString text = wireSafe(phrase(button));
    const QString colour = colorToText(m_actionColour);
    if (text.startsWith(QLatin1String("/me ")))
        sendPhraseMessage(protocol::action(m_ownSeat, text.mid(4), colour));
    else
        sendPhraseMessage(protocol::action(m_ownSeat, QStringLiteral("says: ") + text, colour));
    m_phraseReady = false;
    m_pump.wake();
}

void Tchat::phraseTick()
{
    if (!m_phraseReady)
        ++m_phraseTicks;
    if (m_phraseTicks > 100) {
        m_phraseReady = true;
        m_phraseTicks = 0;
    }
}

QString Tchat::phrase(int button) const
{
    if (button < 1 || button > PhraseButtons || !m_phraseButtons[std::size_t(button)])
        return {};
    return m_phraseButtons[std::size_t(button)]->toolTip();
}

QStringList Tchat::phrases() const
{
    QStringList texts;
    for (int k = 1; k <= PhraseButtons; ++k)
        texts.append(phrase(k));
    return texts;
}

void Tchat::applyPhrases(const QStringList &texts)
{
    for (int k = 1; k <= PhraseButtons && k <= texts.size(); ++k)
        m_phraseButtons[std::size_t(k)]->setToolTip(texts.at(k - 1));
    storePhrases(texts);
}

// ---------------------------------------------------------------- chatter sounds

void Tchat::b_phrase10Click()
{
    QPushButton *button = m_phraseButtons[10];
    m_soundsPopup->popup(button->mapToGlobal(button->rect().bottomRight()));
}

void Tchat::wave14Click(QAction *item)
{
    const int tag = item ? item->property("tag").toInt() : 0;
    if (tag < 1 || tag > int(chatterCaptions().size()))
        return;
    // Watchers hear the sounds but do not make them.
    if (m_ownSeat <= LastSeatWithSounds && m_connected)
        sendMessage(protocol::playASoundRequest(m_ownSeat, tag));
}

void Tchat::playasound(FieldCursor &args)
{
    const QString seatText = args.takeField();
    const QString sound = args.takeField();
    if (m_playChatter && m_playChatter->isChecked()) {
        // A peer may name any clip the program carries.
        if (const std::optional<SoundClip> clip = clipNamed(sound))
            playClip(*clip);
        return;
    }
    bool isNumber = false;
    const int seat = seatText.toInt(&isNumber);
    if (!isNumber || seat < 1 || seat > LastSeatWithSounds || !m_nameLabels[std::size_t(seat)])
        return;
    for (const QAction *entry : m_soundsPopup->actions()) {
        if (!sound.isEmpty() && entry->objectName().compare(sound, Qt::CaseInsensitive) == 0) {
            addlinetochat(m_nameLabels[std::size_t(seat)]->text() + ChatterSoundNotice
                              + entry->text(),
                          ColourBlue);
            return;
        }
    }
}

// ---------------------------------------------------------------- event sounds

void Tchat::playsounds(SoundClip clip)
{
    if (m_playSounds && !m_playSounds->isChecked())
        return;
    playClip(clip);
}

void Tchat::playClip(SoundClip clip)
{
    if (m_sound)
        m_sound->play(clip);
}

// ---------------------------------------------------------------- clipboard

void Tchat::Copy1Click()
{
    const QString selected = m_chatLog->textCursor().selection().toPlainText();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(selected);
}

void Tchat::Paste1Click()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText())
        m_chatEntry->setText(data->text());
}

// ---------------------------------------------------------------- options

void Tchat::ScrollOff1Click(QAction *source)
{
    // The clicked entry has flipped its own check mark; the other follows.
    const bool on = source && source->isChecked();
    if (m_scrollOff)
        m_scrollOff->setChecked(on);
    if (m_chatScrollOff)
        m_chatScrollOff->setChecked(on);
    setHideSelection(on);
}

void Tchat::setHideSelection(bool hide)
{
    QPalette palette = m_chatLog->palette();
    const QPalette standard = QApplication::palette(m_chatLog);
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     hide ? palette.color(QPalette::Inactive, QPalette::Base)
                          : standard.color(QPalette::Inactive, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hide ? palette.color(QPalette::Inactive, QPalette::Text)
                          : standard.color(QPalette::Inactive, QPalette::HighlightedText));
    m_chatLog->setPalette(palette);
}

void Tchat::setChatTextColour(quint32 colour)
{
    m_textColour = colour;
    if (!m_chatEntry)
        return;
    QPalette palette = m_chatEntry->palette();
    palette.setColor(QPalette::Text, colorFromValue(colour));
    m_chatEntry->setPalette(palette);
}

void Tchat::setColorChooser(ColorChooser chooser) { m_colorChooser = std::move(chooser); }

void Tchat::setUrlOpener(std::function<void(const QUrl &)> opener)
{
    if (m_linkPointer)
        m_linkPointer->setOpener(std::move(opener));
}

void Tchat::setLinkAsker(std::function<bool(const QString &)> asker)
{
    if (m_linkPointer)
        m_linkPointer->setAsker(std::move(asker));
}

namespace {

std::optional<QColor> chooseColour(const Tchat::ColorChooser &chooser, QWidget *parent,
                                   quint32 current, const QString &title)
{
    if (chooser)
        return chooser(colorFromValue(current), title);
    const QColor chosen = QColorDialog::getColor(colorFromValue(current), parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace

void Tchat::TextColor1Click()
{
    const std::optional<QColor> chosen =
        chooseColour(m_colorChooser, this, m_textColour, QStringLiteral("Text Color"));
    if (!chosen)
        return;
    setChatTextColour(valueFromColor(*chosen));
    saveinifile();
}

void Tchat::ActionColor1Click()
{
    const std::optional<QColor> chosen =
        chooseColour(m_colorChooser, this, m_actionColour, QStringLiteral("Action Color"));
    if (chosen)
        m_actionColour = valueFromColor(*chosen);
    saveinifile();
}

void Tchat::N14Click(QAction *item)
{
    const int size = item ? item->property("tag").toInt() : 0;
    if (size <= 0)
        return;
    setChatTextSize(size);
    saveinifile();
}

void Tchat::setChatTextSize(int points)
{
    if (!m_chatLog)
        return;
    QTextEdit *log = m_chatLog;
    // The new size lays the log out again, which would leave its view at the
    // top: the newest line stays in view, or with Chat Scroll Off the line
    // that was at the top stays there.
    const bool keepView = m_scrollOff && m_scrollOff->isChecked();
    const int firstVisible = log->cursorForPosition(QPoint(0, 0)).position();
    QFont logFont = log->font();
    logFont.setPointSize(points);
    log->setFont(logFont);
    QScrollBar *scroll = log->verticalScrollBar();
    if (keepView) {
        QTextCursor top(log->document());
        top.setPosition(firstVisible);
        scroll->setValue(scroll->value() + log->cursorRect(top).top());
    } else {
        QTextCursor end(log->document());
        end.movePosition(QTextCursor::End);
        log->setTextCursor(end);
        scroll->setValue(scroll->maximum());
    }
}

void Tchat::PlaySounds1Click()
{
    // The menu entry has flipped its own check mark.
    saveinifile();
}

void Tchat::PlayChatterSounds1Click() { saveinifile(); }

void Tchat::PrhaseList1Click()
{
    QWidget *window = m_windows.phrases;
    if (!window)
        return;
    if (auto *editor = qobject_cast<Tphrases *>(window)) {
        editor->setPhrases(phrases());
        connect(editor, &Tphrases::phrasesDone, this, &Tchat::applyPhrases, Qt::UniqueConnection);
        editor->showOver(this);
        return;
    }
    window->show();
    window->raise();
}

} // namespace zwonky
