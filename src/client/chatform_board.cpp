// The read-out side of the main window: the word columns of the running turn
// with their points preview, the scores and turn results of the player rows,
// the catch-up of a newcomer, and the word-list panel of a fast game.
// The host awards the points; the client only previews and adds up.

#include "client/chatform.h"
#include "session/clientsession.h"

#include "client/chatpane.h"
#include "tally/tallyrecorder.h"
#include "client/wordcolumn.h"
#include "client/wordlistpanel.h"
#include "client/wordpoints.h"
#include "net/fieldcursor.h"
#include "net/protocol.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace zwonky {

namespace {

constexpr quint32 Green = 0x008000;
constexpr quint32 Red = 0x0000FF;
constexpr quint32 Silver = 0xC0C0C0;

constexpr int FirstLength = 3;
constexpr int LastLength = 10;

QLabel *makeLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

// The length written before the ":" of a log entry; 100 when there is none.
int entryLength(const QString &entry)
{
    const qsizetype colon = entry.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return 100;
    bool ok = false;
    const int length = entry.left(colon).trimmed().toInt(&ok);
    return ok ? length : 100;
}

} // namespace

// ---------------------------------------------------------------- building

void Tchat::buildWordColumns(QWidget *columnsPanel)
{
    if (!columnsPanel)
        return;
    // Five words of each length must show whole: columns are as wide as
    // their words are long, and the lengths are watermarks while empty.
    auto *grid = new QGridLayout;
    grid->setContentsMargins(3, 3, 3, 1);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(0);
    QFont words(QStringLiteral("DejaVu Sans Condensed"));
    words.setStyleHint(QFont::SansSerif);
    words.setBold(true);
    words.setPixelSize(11);
    for (int length = FirstLength; length <= LastLength; ++length) {
        const int column = length - FirstLength;
        auto *list = new WordColumn(length, columnsPanel);
        list->setFont(words);
        list->setFixedHeight(WordColumn::heightForLines(5, words));
        list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        list->setMinimumWidth(30);
        list->setToolTip(QStringLiteral("Words of %1 letters").arg(length));
        connect(list, &QPlainTextEdit::textChanged, this, [this, list] { list_3Change(list); });
        m_wordColumns[std::size_t(length)] = list;
        grid->addWidget(list, 0, column);
        grid->setColumnStretch(column, length + 2);

        auto *memo = makeLabel(QStringLiteral("label_memo%1").arg(length), QStringLiteral("0"),
                               columnsPanel);
        memo->setAlignment(Qt::AlignCenter);
        memo->setToolTip(QStringLiteral("Points for the %1-letter words so far").arg(length));
        m_memoLabels[std::size_t(length)] = memo;
        grid->addWidget(memo, 1, column);
    }
    m_sumLabel = makeLabel(QStringLiteral("label_thesum"), QStringLiteral("Current: 0"), columnsPanel);
    QFont bold = m_sumLabel->font();
    bold.setBold(true);
    m_sumLabel->setFont(bold);
    grid->addWidget(m_sumLabel, 2, 0, 1, LastLength - FirstLength + 1, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    if (columnsPanel->layout())
        delete columnsPanel->layout();
    columnsPanel->setLayout(grid);
}

void Tchat::buildWordListPanel()
{
    auto *panel = new WordListPanel(this);
    m_wordListPanel = panel;
    // Over the board and the word columns, which it stands for between turns.
    panel->setPlacement([this]() -> QRect {
        if (!m_boardPanel || !m_columnsPanel)
            return {};
        const QPoint topLeft = m_boardPanel->mapTo(this, QPoint(0, 0));
        const QPoint bottomRight =
            m_columnsPanel->mapTo(this, QPoint(m_columnsPanel->width(), m_columnsPanel->height()));
        return QRect(topLeft, bottomRight).adjusted(0, 0, -1, -1);
    });
    // Only seats with a player (or with words) take a column, so that long
    // words have room at a small table.
    panel->setBeforeShow([this] {
        for (int seat = 1; seat <= 6; ++seat) {
            const auto row = std::size_t(seat);
            const QString name = m_wordListNames[row] ? m_wordListNames[row]->text() : QString();
            const bool seated = !name.isEmpty() && name != QLatin1String("<Waiting>");
            const bool used = seated || (m_wordLists[row] && m_wordLists[row]->count() > 0);
            for (QWidget *control : {static_cast<QWidget *>(m_wordListNames[row]),
                                     static_cast<QWidget *>(m_wordCounts[row]),
                                     static_cast<QWidget *>(m_wordScores[row]),
                                     static_cast<QWidget *>(m_wordLists[row])})
                if (control)
                    control->setVisible(used);
        }
    });
    m_wordListPanel->setFrameShape(QFrame::Box);
    m_wordListPanel->setAutoFillBackground(true);
    m_wordListPanel->setStyleSheet(
        QStringLiteral("QFrame#panel_wordlists{background:#fbf3dc;border:2px solid #8a5a2b;"
                       "border-radius:6px;}"));

    auto *outer = new QVBoxLayout(m_wordListPanel);
    outer->setContentsMargins(8, 6, 8, 8);
    auto *top = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("Words of the turn"), m_wordListPanel);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    top->addWidget(title);
    top->addStretch(1);
    m_closeWordLists = new QPushButton(QStringLiteral("X"), m_wordListPanel);
    m_closeWordLists->setObjectName(QStringLiteral("button_close"));
    m_closeWordLists->setFixedSize(24, 22);
    m_closeWordLists->setToolTip(QStringLiteral("Close"));
    connect(m_closeWordLists, &QPushButton::clicked, this, [this] { button_closeClick(); });
    top->addWidget(m_closeWordLists);
    outer->addLayout(top);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(1);
    QFont listFont(QStringLiteral("DejaVu Sans Condensed"));
    listFont.setStyleHint(QFont::SansSerif);
    listFont.setPixelSize(12);
    for (int seat = 1; seat <= 6; ++seat) {
        const auto row = std::size_t(seat);
        const int column = seat - 1;
        m_wordListNames[row] = makeLabel(QStringLiteral("label_name%1").arg(seat), QString(),
                                         m_wordListPanel);
        m_wordListNames[row]->setFont(bold);
        m_wordListNames[row]->setAlignment(Qt::AlignCenter);
        m_wordListNames[row]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_wordCounts[row] = makeLabel(QStringLiteral("label_count%1").arg(seat),
                                      QStringLiteral("Word Count:0"), m_wordListPanel);
        m_wordScores[row] = makeLabel(QStringLiteral("label_wscore%1").arg(seat),
                                      QStringLiteral("0 Points"), m_wordListPanel);
        m_wordLists[row] = new QListWidget(m_wordListPanel);
        m_wordLists[row]->setObjectName(QStringLiteral("listbox_words%1").arg(seat));
        m_wordLists[row]->setFocusPolicy(Qt::NoFocus);
        m_wordLists[row]->setFont(listFont);
        m_wordLists[row]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_wordLists[row]->setMinimumSize(60, 120);
        m_wordLists[row]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        grid->addWidget(m_wordListNames[row], 0, column);
        grid->addWidget(m_wordCounts[row], 1, column, Qt::AlignCenter);
        grid->addWidget(m_wordScores[row], 2, column, Qt::AlignCenter);
        grid->addWidget(m_wordLists[row], 3, column);
    }
    outer->addLayout(grid, 1);
    m_wordListPanel->resize(595, 330);
    m_wordListPanel->hide();
}

// ---------------------------------------------------------------- word columns

WordColumn *Tchat::wordColumn(int length) const
{
    if (length < FirstLength || length > LastLength)
        return nullptr;
    return m_wordColumns[std::size_t(length)];
}

void Tchat::setColumnColours(int length, const QColor &colour)
{
    if (WordColumn *column = wordColumn(length)) {
        column->setFocusedColour(colour);
        column->setFlatColour(colour);
    }
}

void Tchat::addToWordColumn(int length, const QString &word)
{
    WordColumn *column = wordColumn(length);
    if (!column)
        return;
    column->appendWord(word);
    column->setFontColour(colourFromBgr(column->lineCount() >= 5 ? Red : Green));
}

void Tchat::clearWordColumns()
{
    for (int length = FirstLength; length <= LastLength; ++length) {
        if (WordColumn *column = wordColumn(length))
            column->clear();
        if (QLabel *memo = m_memoLabels[std::size_t(length)])
            memo->setText(QStringLiteral("0"));
    }
    if (m_sumLabel)
        m_sumLabel->setText(QStringLiteral("Current: 0"));
}

void Tchat::list_3Change(WordColumn *column)
{
    const int count = column->lineCount();
    if (count > 4) {
        column->setFlatColour(colourFromBgr(Silver));
        column->setFocusedColour(colourFromBgr(Silver));
        m_chatPane->playEvent(SoundClip::Filled);
    }
    fillPreview(column->length(), count);

    int sum = 0;
    for (int length = FirstLength; length <= LastLength; ++length) {
        const QLabel *memo = m_memoLabels[std::size_t(length)];
        if (!memo)
            continue;
        bool ok = false;
        const int value = memo->text().toInt(&ok);
        if (!ok)
            break; // the sum of the captions read so far
        sum += value;
    }
    if (m_sumLabel)
        m_sumLabel->setText(QStringLiteral("Current: %1").arg(sum));
}

void Tchat::fillPreview(int length, int count)
{
    if (length < FirstLength || length > LastLength)
        return;
    if (QLabel *memo = m_memoLabels[std::size_t(length)])
        memo->setText(QString::number(previewPoints(length, count)));
}

// ---------------------------------------------------------------- score board

// The own player's turn, as at its start (the turn buttons are the tray's).
void Tchat::showOwnTurnControls()
{
    if (m_turnLabel)
        m_turnLabel->setText(QStringLiteral("Your Turn."));
}

void Tchat::addword(int seat, const QString &word)
{
    if (seat < 1 || seat > 6)
        return;
    QListWidget *list = m_wordLists[std::size_t(seat)];
    if (!list)
        return;
    const QString entry = QStringLiteral("%1: %2").arg(word.size()).arg(word);
    // Longest first; among words of one length, in arrival order.
    int at = list->count();
    for (int row = 0; row < list->count(); ++row) {
        if (entryLength(list->item(row)->text()) < word.size()) {
            at = row;
            break;
        }
    }
    list->insertItem(at, entry);
    list->item(at)->setToolTip(entry); // a long word in a narrow column
    if (QLabel *count = m_wordCounts[std::size_t(seat)])
        count->setText(QStringLiteral("%1 words").arg(list->count()));
}

void Tchat::clearthem()
{
    for (int seat = 1; seat <= 6; ++seat) {
        const auto row = std::size_t(seat);
        if (m_wordLists[row])
            m_wordLists[row]->clear();
        if (m_wordCounts[row])
            m_wordCounts[row]->setText(QStringLiteral("0 words"));
        if (m_wordScores[row])
            m_wordScores[row]->setText(QStringLiteral("for +0"));
    }
}

void Tchat::button_closeClick()
{
    if (m_wordListPanel)
        m_wordListPanel->hide();
    focusChat();
}

} // namespace zwonky
