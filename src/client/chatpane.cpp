#include "client/chatpane.h"

#include "client/chatcontrols.h"
#include "client/chatlogview.h"
#include "client/colortext.h"
#include "client/phrasebuttons.h"
#include "client/rteurl.h"
#include "net/zwonkyerror.h"
#include "windows/phrasesform.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextEdit>

namespace zwonky {

namespace {

const QString EnterChatHere = QStringLiteral("<Enter Chat Here>");
constexpr int LogLeft = 22 + 4; // right of the phrase buttons
constexpr int EntryHeight = 24;

// The terminator byte is the character U+00FF in the wire's code page; a
// text holding it would end the message early and the rest would reach the
// server as a message of its own.
QString wireSafe(QString text)
{
    text.replace(QChar(0xFF), QLatin1Char('?'));
    return text;
}

std::optional<QColor> chooseColour(const ChatPane::ColorChooser &chooser, QWidget *parent,
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

// ---------------------------------------------------------------- building

// Ten small buttons in a column, the log right of them and the entry under the log.
ChatPane::ChatPane(QWidget *panel, const MenuActions &menu) : QObject(panel), m_menu(menu)
{
    m_phraseButtons = new PhraseButtons(panel);
    connect(m_phraseButtons, &PhraseButtons::phraseClicked, this,
            [this](int button) { guard([this, button] { b_phrase1Click(button); }); });
    connect(m_phraseButtons, &PhraseButtons::soundsClicked, this,
            [this] { guard([this] { b_phrase10Click(); }); });
    connect(m_phraseButtons, &PhraseButtons::soundChosen, this,
            [this](int sound) { guard([this, sound] { wave14Click(sound); }); });

    buildLog(panel, LogLeft, panel->height() - EntryHeight - 2);
    buildEntry(panel, LogLeft, panel->height() - EntryHeight);
    wireMenu();
}

void ChatPane::buildLog(QWidget *panel, int left, int height)
{
    auto *log = new ChatLogView(panel);
    m_log = log;
    log->setObjectName(QStringLiteral("mainchat"));
    log->setGeometry(left, 0, panel->width() - left, height);
    log->setReadOnly(true);
    log->setUndoRedoEnabled(false); // a log that only grows keeps no history
    log->setFocusPolicy(Qt::ClickFocus); // Tab passes it by
    log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    log->setLineWrapMode(QTextEdit::WidgetWidth);
    log->document()->setDocumentMargin(5);
    QFont logFont(QStringLiteral("MS Sans Serif"));
    // The hint alone would also reset the application's text strategy.
    logFont.setStyleHint(QFont::SansSerif, QGuiApplication::font().styleStrategy());
    logFont.setPointSize(m_textSize);
    log->setFont(logFont);
    QPalette logPalette = log->palette();
    logPalette.setColor(QPalette::Base, Qt::white);
    log->setPalette(logPalette);
    m_linkPointer = new LinkPointer(log);

    m_logPopup = new QMenu(panel);
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
        m_logPopup->popup(m_log->viewport()->mapToGlobal(at));
    });
    connect(m_copyAction, &QAction::triggered, this, [this] { Copy1Click(); });
    connect(m_chatScrollOff, &QAction::triggered, this, [this](bool on) { ScrollOff1Click(on); });
}

void ChatPane::buildEntry(QWidget *panel, int left, int top)
{
    m_entry = new QLineEdit(panel);
    m_entry->setObjectName(QStringLiteral("mychat"));
    m_entry->setGeometry(left, top, panel->width() - left, EntryHeight);
    QFont entryFont(QStringLiteral("Arial"));
    // The hint alone would also reset the application's text strategy.
    entryFont.setStyleHint(QFont::SansSerif, QGuiApplication::font().styleStrategy());
    entryFont.setPixelSize(13);
    m_entry->setFont(entryFont);
    m_entry->setText(EnterChatHere);
    m_entry->setMaxLength(ChatLogView::LongestTypedLine);
    setTextColour(m_textColour);
    new KeyHook(m_entry, [this](QKeyEvent *key) {
        // mychatKeyDown: the first key clears the invitation.
        if (m_entry->text() == EnterChatHere)
            m_entry->clear();
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

    m_entryPopup = new QMenu(panel);
    m_entryPopup->setObjectName(QStringLiteral("PopupMenu2"));
    m_pasteAction = m_entryPopup->addAction(QStringLiteral("Paste"));
    m_pasteAction->setObjectName(QStringLiteral("Paste1"));
    m_pasteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    m_entry->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_entry, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        m_entryPopup->popup(m_entry->mapToGlobal(at));
    });
    connect(m_pasteAction, &QAction::triggered, this, [this] { Paste1Click(); });
}

// The chat's entries of the Options and View menus.
void ChatPane::wireMenu()
{
    // The sound options are the menu's check marks; the settings set them
    // too, so the pane follows every change of them.
    if (QAction *sounds = m_menu.playSounds) {
        m_sounds.setEventsOn(sounds->isChecked());
        connect(sounds, &QAction::toggled, this, [this](bool on) { m_sounds.setEventsOn(on); });
        connect(sounds, &QAction::triggered, this, &ChatPane::settingsChanged);
    }
    if (QAction *chatter = m_menu.playChatter) {
        m_sounds.setChatterOn(chatter->isChecked());
        connect(chatter, &QAction::toggled, this, [this](bool on) { m_sounds.setChatterOn(on); });
        connect(chatter, &QAction::triggered, this, &ChatPane::settingsChanged);
    }
    if (m_menu.textColor)
        connect(m_menu.textColor, &QAction::triggered, this,
                [this] { guard([this] { TextColor1Click(); }); });
    if (m_menu.actionColor)
        connect(m_menu.actionColor, &QAction::triggered, this,
                [this] { guard([this] { ActionColor1Click(); }); });
    for (std::size_t i = 0; i < m_menu.textSizes.size(); ++i) {
        QAction *size = m_menu.textSizes[i];
        if (!size)
            continue;
        // Only loading the settings moves these check marks.
        size->setCheckable(true);
        const int points = TextSizes[i];
        connect(size, &QAction::triggered, this, [this, size, points](bool checked) {
            size->setChecked(!checked);
            guard([this, points] { N14Click(points); });
        });
    }
    if (m_menu.scrollOff)
        connect(m_menu.scrollOff, &QAction::triggered, this,
                [this](bool on) { ScrollOff1Click(on); });
    if (m_menu.phraseList)
        connect(m_menu.phraseList, &QAction::triggered, this,
                [this] { guard([this] { PrhaseList1Click(); }); });
}

void ChatPane::guard(const std::function<void()> &work)
{
    runGuarded(work, [this](const QString &text) { emit errorOccurred(text); });
}

void ChatPane::setRequests(Requests requests) { m_requests = std::move(requests); }
void ChatPane::setSoundPlayer(SoundPlayer *player) { m_sounds.setPlayer(player); }
void ChatPane::setPhraseEditor(QWidget *editor) { m_phraseEditor = editor; }
void ChatPane::setColorChooser(ColorChooser chooser) { m_colorChooser = std::move(chooser); }

void ChatPane::setUrlOpener(std::function<void(const QUrl &)> opener)
{
    m_linkPointer->setOpener(std::move(opener));
}

void ChatPane::setLinkAsker(std::function<bool(const QString &)> asker)
{
    m_linkPointer->setAsker(std::move(asker));
}

// ---------------------------------------------------------------- the log

void ChatPane::addLine(const QString &line, quint32 colour)
{
    m_log->appendLine(line, colour, m_scrollOff);
}

void ChatPane::addRelayed(const QString &text, const QString &colourText)
{
    addLine(text, textToColor(colourText).value_or(ColourRed));
}

// ---------------------------------------------------------------- sending

void ChatPane::sendit()
{
    if (!m_requests.canChat || !m_requests.canChat())
        return;
    const QString text = wireSafe(m_entry->text());
    if (!text.isEmpty()) {
        if (!text.startsWith(QLatin1Char('/'))) {
            if (m_requests.chat)
                m_requests.chat(text, colorToText(m_textColour));
        } else if (text.startsWith(QLatin1String("/me"))) {
            // The first four characters go, whatever the fourth one is.
            if (m_requests.action)
                m_requests.action(text.mid(4), colorToText(m_actionColour));
        }
        // Any other "/" text is a command this client does not know.
    }
    m_entry->clear();
}

void ChatPane::b_phrase1Click(int button)
{
    if (!m_phraseButtons->ready() || button < 1 || button > PhraseButtons::Count)
        return;
    const QString text = wireSafe(phrase(button));
    const QString colour = colorToText(m_actionColour);
    const bool sent = !m_requests.phrase
        || (text.startsWith(QLatin1String("/me "))
                ? m_requests.phrase(text.mid(4), colour)
                : m_requests.phrase(QStringLiteral("says: ") + text, colour));
    if (!sent)
        return;
    m_phraseButtons->closeGate();
    emit phraseSent();
}

void ChatPane::dispatchTick() { m_phraseButtons->tick(); }
bool ChatPane::phraseReady() const { return m_phraseButtons->ready(); }

QString ChatPane::phrase(int button) const { return m_phraseButtons->phrase(button); }
QStringList ChatPane::phrases() const { return m_phraseButtons->phrases(); }
void ChatPane::setPhrase(int button, const QString &text)
{
    m_phraseButtons->setPhrase(button, text);
}

void ChatPane::applyPhrases(const QStringList &texts)
{
    for (int k = 1; k <= PhraseButtons::Count && k <= texts.size(); ++k)
        m_phraseButtons->setPhrase(k, texts.at(k - 1));
    emit phrasesEdited(texts);
}

void ChatPane::PrhaseList1Click()
{
    if (!m_phraseEditor)
        return;
    if (auto *editor = qobject_cast<Tphrases *>(m_phraseEditor)) {
        editor->setPhrases(phrases());
        connect(editor, &Tphrases::phrasesDone, this, &ChatPane::applyPhrases,
                Qt::UniqueConnection);
        editor->showOver(m_log->window());
        return;
    }
    m_phraseEditor->show();
    m_phraseEditor->raise();
}

// ---------------------------------------------------------------- sounds

void ChatPane::b_phrase10Click() { m_phraseButtons->popUpSounds(); }

void ChatPane::wave14Click(int sound)
{
    if (sound < 1 || sound > ChatterClipCount)
        return;
    if (m_requests.chatterSound)
        m_requests.chatterSound(sound);
}

void ChatPane::chatterSound(const QString &sound, const std::optional<QString> &player)
{
    if (const std::optional<QString> line = m_sounds.chatter(sound, player))
        addLine(*line, ColourBlue);
}

void ChatPane::playEvent(SoundClip clip) { m_sounds.playEvent(clip); }

// ---------------------------------------------------------------- clipboard and focus

void ChatPane::Copy1Click()
{
    const QString selected = m_log->textCursor().selection().toPlainText();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(selected);
}

void ChatPane::Paste1Click()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (data && data->hasText())
        m_entry->setText(data->text());
}

void ChatPane::focusEntry() { m_entry->setFocus(Qt::OtherFocusReason); }

// ---------------------------------------------------------------- options

void ChatPane::ScrollOff1Click(bool on)
{
    m_scrollOff = on;
    if (m_menu.scrollOff)
        m_menu.scrollOff->setChecked(on);
    m_chatScrollOff->setChecked(on);
    setHideSelection(on);
}

void ChatPane::setHideSelection(bool hide)
{
    QPalette palette = m_log->palette();
    const QPalette standard = QApplication::palette(m_log);
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     hide ? palette.color(QPalette::Inactive, QPalette::Base)
                          : standard.color(QPalette::Inactive, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     hide ? palette.color(QPalette::Inactive, QPalette::Text)
                          : standard.color(QPalette::Inactive, QPalette::HighlightedText));
    m_log->setPalette(palette);
}

void ChatPane::setTextColour(quint32 colour)
{
    m_textColour = colour;
    QPalette palette = m_entry->palette();
    palette.setColor(QPalette::Text, colorFromValue(colour));
    m_entry->setPalette(palette);
}

void ChatPane::TextColor1Click()
{
    const std::optional<QColor> chosen = chooseColour(m_colorChooser, m_log->window(),
                                                      m_textColour, QStringLiteral("Text Color"));
    if (!chosen)
        return;
    setTextColour(valueFromColor(*chosen));
    emit settingsChanged();
}

void ChatPane::ActionColor1Click()
{
    const std::optional<QColor> chosen = chooseColour(
        m_colorChooser, m_log->window(), m_actionColour, QStringLiteral("Action Color"));
    if (chosen)
        m_actionColour = valueFromColor(*chosen);
    emit settingsChanged();
}

void ChatPane::N14Click(int points)
{
    if (points <= 0)
        return;
    setTextSize(points);
    emit settingsChanged();
}

void ChatPane::setTextSize(int points)
{
    m_textSize = points;
    m_log->setPointSize(points, m_scrollOff);
}

} // namespace zwonky
