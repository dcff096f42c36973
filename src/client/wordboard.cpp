#include "client/wordboard.h"

#include "client/wordcolumn.h"
#include "client/wordlistpanel.h"
#include "client/wordpoints.h"
#include "session/clientsession.h"
#include "widgets/scaledtree.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>

#include <algorithm>
#include <cmath>

namespace zwonky {

namespace {

constexpr quint32 Green = 0x008000;
// Red dark enough to read on the silver of a full column.
constexpr quint32 Red = 0x0000A0;
constexpr quint32 Silver = 0xC0C0C0;
constexpr quint32 Maroon = 0x000080;
constexpr quint32 White = 0xFFFFFF;
// A column holds five words at most: the host refuses a sixth.
constexpr int FullColumn = 5;
// The margin of the columns' grid.
constexpr int GridLeft = 3;

} // namespace

WordBoard::WordBoard(ClientSession &session, QWidget *window, QWidget *boardPanel,
                     QWidget *columnsPanel)
    : QObject(window), m_session(session)
{
    buildColumns(columnsPanel);

    m_wordLists = new WordListPanel(window);
    // Over the board and the word columns, which it stands for between turns.
    m_wordLists->setPlacement([window, boardPanel, columnsPanel]() -> QRect {
        if (!boardPanel || !columnsPanel)
            return {};
        const QPoint topLeft = boardPanel->mapTo(window, QPoint(0, 0));
        const QPoint bottomRight =
            columnsPanel->mapTo(window, QPoint(columnsPanel->width(), columnsPanel->height()));
        return QRect(topLeft, bottomRight).adjusted(0, 0, -1, -1);
    });
    m_wordLists->setSeated([this](int seat) { return m_session.players().row(seat).seated; });
    connect(m_wordLists, &WordListPanel::closedByPlayer, this, [this] {
        if (m_focusChat)
            m_focusChat();
    });

    ClientSession *s = &m_session;
    connect(s, &ClientSession::wordAccepted, this, &WordBoard::onWordAccepted);
    connect(s, &ClientSession::wordAdded, m_wordLists, &WordListPanel::addword);
    connect(s, &ClientSession::lettersDealt, this, &WordBoard::onLettersDealt);
    connect(s, &ClientSession::turnHandedOver, this, &WordBoard::onTurnHandedOver);
    connect(s, &ClientSession::turnScored, this, &WordBoard::onTurnScored);
    connect(s, &ClientSession::turnEnded, this, &WordBoard::onTurnEnded);
    connect(s, &ClientSession::gameOver, this, &WordBoard::onGameOver);
}

void WordBoard::buildColumns(QWidget *columnsPanel)
{
    // Five words of each length must show whole: columns are as wide as
    // their words are long, and the lengths are watermarks while empty.
    auto *grid = new QGridLayout;
    grid->setContentsMargins(GridLeft, 3, 3, 1);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(0);
    QFont words(QStringLiteral("DejaVu Sans Condensed"));
    // The hint alone would also reset the application's text strategy.
    words.setStyleHint(QFont::SansSerif, QGuiApplication::font().styleStrategy());
    words.setBold(true);
    words.setPixelSize(11);
    for (int length = ShortestWord; length <= LongestWord; ++length) {
        const int column = length - ShortestWord;
        auto *list = new WordColumn(length, columnsPanel);
        list->setFont(words);
        list->setFixedHeight(WordColumn::heightForLines(FullColumn, words));
        list->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        list->setMinimumWidth(30);
        list->setToolTip(QStringLiteral("Words of %1 letters").arg(length));
        m_columns[std::size_t(length)] = list;
        grid->addWidget(list, 0, column);
        grid->setColumnStretch(column, length + 2);

        auto *memo = new QLabel(QStringLiteral("0"), columnsPanel);
        memo->setObjectName(QStringLiteral("label_memo%1").arg(length));
        memo->setAlignment(Qt::AlignCenter);
        memo->setToolTip(QStringLiteral("Points for the %1-letter words so far").arg(length));
        m_memos[std::size_t(length)] = memo;
        grid->addWidget(memo, 1, column);
    }
    m_sum = new QLabel(QStringLiteral("Current: 0"), columnsPanel);
    m_sum->setObjectName(QStringLiteral("label_thesum"));
    QFont bold = m_sum->font();
    bold.setBold(true);
    m_sum->setFont(bold);
    grid->addWidget(m_sum, 2, 0, 1, LongestWord - ShortestWord + 1, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    delete columnsPanel->layout();
    columnsPanel->setLayout(grid);
}

WordColumn *WordBoard::wordColumn(int length) const
{
    if (length < ShortestWord || length > LongestWord)
        return nullptr;
    return m_columns[std::size_t(length)];
}

void WordBoard::setColumnColours(int length, const QColor &colour)
{
    if (WordColumn *column = wordColumn(length)) {
        column->setFocusedColour(colour);
        column->setFlatColour(colour);
    }
}

int WordBoard::preview(int length) const
{
    return previewPoints(length, m_session.words().count(m_shownSeat, length));
}

int WordBoard::previewTotal() const
{
    int sum = 0;
    for (int length = ShortestWord; length <= LongestWord; ++length)
        sum += preview(length);
    return sum;
}

void WordBoard::showPreview()
{
    for (int length = ShortestWord; length <= LongestWord; ++length)
        m_memos[std::size_t(length)]->setText(QString::number(preview(length)));
    m_sum->setText(QStringLiteral("Current: %1").arg(previewTotal()));
    fitSum();
}

// The grid sets the sum as wide as its text, at the right. While the board
// is grown the grid stands still, so the sum's width is set here.
void WordBoard::fitSum()
{
    const ScaledTree *tree = ScaledTree::of(m_sum);
    if (!tree || qFuzzyCompare(tree->factor(), 1.0))
        return;
    QRect place = scaled::geometry(m_sum);
    const int wanted = int(std::ceil(m_sum->sizeHint().width() / tree->factor()));
    place.setLeft(std::max(GridLeft, place.right() + 1 - wanted));
    scaled::place(m_sum, place);
}

// ---------------------------------------------------------------- the session's news

void WordBoard::onWordAccepted(int seat, int length, const QString &word)
{
    WordColumn *column = wordColumn(length);
    if (!column)
        return;
    m_shownSeat = seat;
    column->appendWord(word);
    const int count = m_session.words().count(seat, length);
    if (count >= FullColumn) {
        setColumnColours(length, colorFromValue(Silver));
        if (m_play)
            m_play(SoundClip::Filled);
    }
    showPreview();
    column->setFontColour(colorFromValue(count >= FullColumn ? Red : Green));
}

// A deal of 13 letters refuses three-letter words: their column is shaded;
// a deal of 10 opens every column again.
void WordBoard::onLettersDealt(int, DealKind kind)
{
    if (kind == DealKind::Thirteen) {
        setColumnColours(ShortestWord, colorFromValue(Maroon));
        for (int length = ShortestWord + 1; length <= LongestWord; ++length)
            setColumnColours(length, colorFromValue(White));
    } else if (kind == DealKind::Ten) {
        for (int length = ShortestWord; length <= LongestWord; ++length)
            setColumnColours(length, colorFromValue(White));
    }
}

void WordBoard::onTurnHandedOver()
{
    // Spectators keep the panel open; the players get on with the next turn.
    if (m_session.ownSeat() <= LastPlayingSeat)
        m_wordLists->hide();
    m_wordLists->clearthem();
    m_shownSeat = 0;
    // A column keeps its colour until the next deal.
    for (int length = ShortestWord; length <= LongestWord; ++length)
        m_columns[std::size_t(length)]->clear();
    showPreview();
}

void WordBoard::onTurnScored(int seat, const TurnResult &result)
{
    // A zwonked seat's loss shows in its row, not in the panel.
    if (!result.lostPoints())
        m_wordLists->setTurnPoints(seat, result.points());
}

void WordBoard::onTurnEnded(bool byHost)
{
    if (!byHost)
        return;
    for (int seat = FirstSeat; seat <= LastPlayingSeat; ++seat)
        m_wordLists->setName(seat, m_session.players().shownName(seat));
    if (m_session.settings().fast)
        m_wordLists->show();
}

void WordBoard::onGameOver(const QString &winnerText)
{
    // A team's win leaves the panel as it is.
    if (!protocol::isTeamWinner(winnerText))
        m_wordLists->hide();
}

} // namespace zwonky
