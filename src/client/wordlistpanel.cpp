#include "client/wordlistpanel.h"

#include "widgets/scaledtree.h"
#include "windows/controlnames.h"
#include "widgets/plaintext.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zwonky {

namespace {

QLabel *makeLabel(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    plaintext::keep(label);
    return label;
}

constexpr int BorderWidth = 2;
constexpr qreal CornerRadius = 6;

// "5: HELLO" at `at`; the tip shows a long word whole in a narrow column.
void addEntry(QListWidget *list, int at, const QString &word)
{
    const QString entry = QStringLiteral("%1: %2").arg(word.size()).arg(word);
    list->insertItem(at, entry);
    list->item(at)->setToolTip(plaintext::toolTip(entry));
}

} // namespace

WordListPanel::WordListPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("panel_wordlists"));
    // A rounded cream card with a 2-pixel brown border, painted here: the
    // frame's width keeps the contents inside the border.
    setFrameShape(QFrame::Box);
    setLineWidth(BorderWidth);
    for (int seat = 1; seat <= Seats; ++seat) {
        m_countTexts[std::size_t(seat)] = QStringLiteral("Word Count:0");
        m_scoreTexts[std::size_t(seat)] = QStringLiteral("0 Points");
    }
    resize(595, 330);
    hide();
}

void WordListPanel::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 8);
    auto *top = new QHBoxLayout;
    auto *title = new QLabel(QStringLiteral("Words of the turn"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    top->addWidget(title);
    top->addStretch(1);
    m_close = new QPushButton(QStringLiteral("X"), this);
    m_close->setObjectName(QStringLiteral("button_close"));
    m_close->setFixedSize(24, 22);
    m_close->setToolTip(QStringLiteral("Close"));
    connect(m_close, &QPushButton::clicked, this, &WordListPanel::button_closeClick);
    top->addWidget(m_close);
    outer->addLayout(top);

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(1);
    QFont listFont(QStringLiteral("DejaVu Sans Condensed"));
    // The hint alone would also reset the application's text strategy.
    listFont.setStyleHint(QFont::SansSerif, QGuiApplication::font().styleStrategy());
    listFont.setPixelSize(12);
    for (int seat = 1; seat <= Seats; ++seat) {
        const auto row = std::size_t(seat);
        const int column = seat - 1;
        m_names[row] = makeLabel(QStringLiteral("label_name%1").arg(seat), m_nameTexts[row], this);
        m_names[row]->setFont(bold);
        m_names[row]->setAlignment(Qt::AlignCenter);
        m_names[row]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_counts[row] = makeLabel(QStringLiteral("label_count%1").arg(seat), m_countTexts[row], this);
        m_scores[row] = makeLabel(QStringLiteral("label_wscore%1").arg(seat), m_scoreTexts[row], this);
        m_lists[row] = new QListWidget(this);
        m_lists[row]->setObjectName(QStringLiteral("listbox_words%1").arg(seat));
        m_lists[row]->setFocusPolicy(Qt::NoFocus);
        m_lists[row]->setFont(listFont);
        m_lists[row]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_lists[row]->setMinimumSize(60, 120);
        m_lists[row]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
        for (const QString &word : m_words[row])
            addEntry(m_lists[row], m_lists[row]->count(), word);
        grid->addWidget(m_names[row], 0, column);
        grid->addWidget(m_counts[row], 1, column, Qt::AlignCenter);
        grid->addWidget(m_scores[row], 2, column, Qt::AlignCenter);
        grid->addWidget(m_lists[row], 3, column);
    }
    outer->addLayout(grid, 1);

    // Grown with the board if the window is, and named for screen readers.
    scaled::adopt(this);
    nameControls(window(), this);
}

void WordListPanel::setVisible(bool visible)
{
    // The lists are laid out only when a fast game's turn ends.
    if (visible)
        ensureBuilt();
    QFrame::setVisible(visible);
}

void WordListPanel::addword(int seat, const QString &word)
{
    if (!hasList(seat))
        return;
    const auto row = std::size_t(seat);
    QStringList &words = m_words[row];
    // Longest first; among words of one length, in arrival order.
    qsizetype at = words.size();
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i].size() < word.size()) {
            at = i;
            break;
        }
    }
    words.insert(at, word);
    m_countTexts[row] = QStringLiteral("%1 words").arg(words.size());
    if (m_built) {
        addEntry(m_lists[row], int(at), word);
        m_counts[row]->setText(m_countTexts[row]);
    }
}

void WordListPanel::clearthem()
{
    for (int seat = 1; seat <= Seats; ++seat) {
        const auto row = std::size_t(seat);
        m_words[row].clear();
        m_countTexts[row] = QStringLiteral("0 words");
        m_scoreTexts[row] = QStringLiteral("for +0");
        if (m_built) {
            m_lists[row]->clear();
            m_counts[row]->setText(m_countTexts[row]);
            m_scores[row]->setText(m_scoreTexts[row]);
        }
    }
}

void WordListPanel::setName(int seat, const QString &name)
{
    if (!hasList(seat))
        return;
    m_nameTexts[std::size_t(seat)] = name;
    if (m_built)
        m_names[std::size_t(seat)]->setText(name);
}

void WordListPanel::setTurnPoints(int seat, qint64 points)
{
    if (!hasList(seat))
        return;
    m_scoreTexts[std::size_t(seat)] = QStringLiteral("for +%1").arg(points);
    if (m_built)
        m_scores[std::size_t(seat)]->setText(m_scoreTexts[std::size_t(seat)]);
}

QStringList WordListPanel::words(int seat) const
{
    return hasList(seat) ? m_words[std::size_t(seat)] : QStringList();
}

void WordListPanel::button_closeClick()
{
    hide();
    emit closedByPlayer();
}

void WordListPanel::fitColumns()
{
    for (int seat = 1; seat <= Seats; ++seat) {
        const auto row = std::size_t(seat);
        const bool used = (m_seated && m_seated(seat)) || !m_words[row].isEmpty();
        for (QWidget *control : {static_cast<QWidget *>(m_names[row]), static_cast<QWidget *>(m_counts[row]),
                                 static_cast<QWidget *>(m_scores[row]), static_cast<QWidget *>(m_lists[row])})
            control->setVisible(used);
    }
}

void WordListPanel::takePlace()
{
    if (!m_placement)
        return;
    const QRect place = m_placement();
    if (place.isValid())
        setGeometry(place);
}

void WordListPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal inset = BorderWidth / 2.0;
    const QRectF card = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    painter.setPen(QPen(QColor(0x8a, 0x5a, 0x2b), BorderWidth));
    painter.setBrush(QColor(0xfb, 0xf3, 0xdc));
    painter.drawRoundedRect(card, CornerRadius, CornerRadius);
}

void WordListPanel::showEvent(QShowEvent *event)
{
    fitColumns();
    takePlace();
    raise();
    QFrame::showEvent(event);
}

} // namespace zwonky
