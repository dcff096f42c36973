#include "windows/helpform.h"
#include "windows/controlnames.h"

#include "widgets/placement.h"
#include "widgets/skybackground.h"
#include "windows/aboutform.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zwonky {

namespace {

struct PageButton {
    const char *name;
    const char *caption;
};

// Button k (tag k) belongs to page k.
constexpr PageButton PageButtons[Thelp::PageCount] = {
    {"SelButton1", "Overview"},      {"SelButton2", "Connecting"}, {"SelButton3", "Game Play"},
    {"SelButton4", "Scoring"},       {"SelButton5", "Documentation"}, {"SelButton6", "License"},
};

// Points for the number of words of one length made in one turn.
constexpr int WordPoints[8][5] = {
    {60, 70, 80, 90, 100},         {120, 140, 160, 180, 200},     {200, 250, 300, 350, 400},
    {300, 400, 500, 600, 700},     {500, 650, 800, 950, 1100},    {750, 1000, 1250, 1500, 1750},
    {1000, 1500, 2000, 2500, 3000}, {1500, 3000, 5000, 5000, 5000},
};

struct PairBonus {
    int shorter;
    int bonus;
};
constexpr PairBonus PairBonuses[] = {{3, 300}, {4, 500}, {5, 800}, {6, 1200}, {7, 1850}};

const char *const PageStyle =
    "<style>"
    "h2 { color: #1d3f8f; margin-bottom: 4px; }"
    "h3 { color: #a0171b; margin-top: 10px; margin-bottom: 2px; }"
    "p, li { color: #222; }"
    "th { background-color: #1d3f8f; color: white; }"
    "td.len { background-color: #f6e7bf; font-weight: bold; }"
    "td { text-align: center; }"
    "span.key { background-color: #f6e7bf; font-weight: bold; }"
    "</style>";

QString overviewPage()
{
    return QStringLiteral(
        "<h2>Welcome to Zwonky, the word dice game!</h2>"
        "<p>Roll the letters, lay the tiles and make as many words as you can before the "
        "clock runs out. The first player to reach the winning score takes the game.</p>"
        "<p>Up to six players sit at the table and up to three more may watch as spectators "
        "(their names show up in the spy list). You can also play a game on your own.</p>"
        "<p>Use the buttons on the left to read how to connect, how a turn is played and how "
        "the points are counted. Have fun!</p>");
}

QString connectingPage()
{
    return QStringLiteral(
        "<h3>Playing alone</h3>"
        "<p>Started on its own, Zwonky sets up a solo game on your computer for a player named "
        "<i>You</i>. A solo game needs no internet connection, but your firewall must let the "
        "game talk to itself on your own computer.</p>"
        "<h3>Playing with others</h3>"
        "<p>Games with other players are found and started through The Pellix Lobby, which "
        "opens Zwonky for you with your name and the address of the game.</p>"
        "<ul>"
        "<li><b>Hosting:</b> the player who hosts runs the game table on his own computer. "
        "It listens on <b>TCP port 7772</b>, so the host's firewall and router must accept "
        "incoming connections on that port. The host always sits at seat 1 and is the one "
        "who starts each game and may remove players.</li>"
        "<li><b>Joining:</b> the other players connect to the host's address (a name or a "
        "dotted number) on port 7772. If the host cannot be reached nothing happens: no seat "
        "is given and Start Game says you are not connected.</li>"
        "<li>The first six players take seats 1 to 6; up to three more join as spectators. "
        "A tenth player is told the game is full.</li>"
        "</ul>"
        "<h3>When the host leaves</h3>"
        "<p>The game lives on the host's computer. If the host closes Zwonky or loses the "
        "connection, the game ends for everybody and every player's Zwonky closes. The same "
        "happens to a player the host removes from the game.</p>");
}

QString gamePlayPage()
{
    return QStringLiteral(
        "<h3>Your turn</h3>"
        "<p>The host starts a game and chooses the winning score, the time per turn, the "
        "Zwonked At score and whether new tiles, typing and the fast game are allowed. Players "
        "then take turns in seat order. On your turn you get <b>10 letter tiles</b>. Click a "
        "tile to lay it on the word tray (up to 10 letters); click the last tile you laid to "
        "take it back. A right click on the rack shuffles your tiles. Press <b>Done</b> to "
        "send the word, <b>Clear</b> to take all tiles back and <b>Finish</b> to end your "
        "turn early. The clock beeps at 20 and 15 seconds and every second of the last 10.</p>"
        "<p>The other players watch your tiles move and see every word you make. In a "
        "<b>fast game</b> everybody plays at the same time on the same letters.</p>"
        "<h3>Which words count</h3>"
        "<ul>"
        "<li>A word has 3 to 10 letters and must be in the game's word list.</li>"
        "<li>Each word counts once per turn (<i>Word Exists</i>).</li>"
        "<li>You cannot have a word and its plural in the same turn: CAT then CATS is refused "
        "(<i>Singular form exists</i>), and so is CATS then CAT (<i>Plural form "
        "exists</i>).</li>"
        "<li>At most <b>five words of each length</b> count per turn; a sixth is refused "
        "(<i>letter box full</i>).</li>"
        "<li>These limits are yours alone: another player may make the same words.</li>"
        "</ul>"
        "<h3>Zwonked!</h3>"
        "<p>Once your score reaches the game's <b>Zwonked At</b> score you are zwonked: you get "
        "<b>13 tiles</b> instead of 10, three-letter words no longer count, and a turn whose "
        "words earn less than 500 points <b>costs you 500 points</b>. Drop below the mark and "
        "you are back to 10 tiles and the usual rules.</p>"
        "<h3>New tiles</h3>"
        "<p>When the host allows it, double-click <b>New Tiles</b> to swap your letters for a "
        "fresh set. It costs <b>300 points</b>. Changed your mind? Double-click <b>Old "
        "Tiles</b> to get the first letters back, again for 300 points.</p>"
        "<h3>Typing mode</h3>"
        "<p>When the host allows typing, the <b>Typing ON</b> box appears on your turn. While it "
        "is ticked the keyboard plays your tiles and the chat line gets no keys:</p>"
        "<table cellspacing='0' cellpadding='3' border='1'>"
        "<tr><th>Key</th><th>What it does</th></tr>"
        "<tr><td><span class='key'>&nbsp;A&nbsp;</span> to <span class='key'>&nbsp;Z&nbsp;</span>"
        "</td><td align='left'>lays a tile with that letter</td></tr>"
        "<tr><td><span class='key'>&nbsp;Enter&nbsp;</span></td>"
        "<td align='left'>sends the word (Done)</td></tr>"
        "<tr><td><span class='key'>&nbsp;Backspace&nbsp;</span></td>"
        "<td align='left'>takes the last tile back</td></tr>"
        "<tr><td><span class='key'>&nbsp;1&nbsp;</span></td>"
        "<td align='left'>clears the tray</td></tr>"
        "<tr><td><span class='key'>&nbsp;6&nbsp;</span> or <span class='key'>&nbsp;Space&nbsp;"
        "</span></td><td align='left'>shuffles the tiles</td></tr>"
        "<tr><td><span class='key'>&nbsp;0&nbsp;</span></td><td align='left'>buys new tiles "
        "(unless <i>Turn off 0 key</i> is ticked in the menu)</td></tr>"
        "<tr><td><span class='key'>&nbsp;Tab&nbsp;</span></td>"
        "<td align='left'>switches typing mode on and off, so you can chat</td></tr>"
        "</table>"
        "<p>Use the digits of the main keyboard row; the number pad is not used.</p>"
        "<h3>Winning</h3>"
        "<p>When every player has had the same number of turns, the player with the highest "
        "score at or above the winning score wins. If two players are level, play goes on "
        "until the tie is broken.</p>");
}

QString scoringPage()
{
    QString text = QStringLiteral(
        "<p>At the end of your turn your words are counted by length. You score for <b>how "
        "many words</b> of each length you made, not for each word:</p>"
        "<table cellspacing='0' cellpadding='3' border='1' width='100%'>"
        "<tr><th rowspan='2'>Letters</th><th colspan='5'>Words of that length</th></tr>"
        "<tr><th>1</th><th>2</th><th>3</th><th>4</th><th>5</th></tr>");
    for (int length = 3; length <= 10; ++length) {
        text += QStringLiteral("<tr><td class='len'>%1</td>").arg(length);
        for (int count = 1; count <= 5; ++count)
            text += QStringLiteral("<td>%1</td>").arg(WordPoints[length - 3][count - 1]);
        text += QStringLiteral("</tr>");
    }
    text += QStringLiteral(
        "</table>"
        "<p>A length with no words scores nothing. Ten-letter words stop rising at three: "
        "three, four or five of them all give 5000.</p>"
        "<h3>Bonuses</h3>"
        "<p>Fill all five boxes of two neighbouring lengths in one turn and you earn a "
        "bonus:</p>"
        "<table cellspacing='0' cellpadding='3' border='1'>"
        "<tr><th>Both full</th><th>Bonus</th></tr>");
    for (const PairBonus &pair : PairBonuses)
        text += QStringLiteral("<tr><td class='len'>%1 and %2 letters</td><td>%3</td></tr>")
                    .arg(pair.shorter)
                    .arg(pair.shorter + 1)
                    .arg(pair.bonus);
    text += QStringLiteral(
        "</table>"
        "<p>Bonuses add up: full boxes from 3 to 8 letters bring 300 + 500 + 800 + 1200 + 1850 "
        "= 4650. Nine and ten letters earn no bonus.</p>"
        "<p><b>Example:</b> five 3-letter and five 4-letter words score 100 + 200 + a bonus of "
        "300 = 600 points.</p>"
        "<h3>Zwonked</h3>"
        "<p>A zwonked player whose words earn less than 500 points in a turn loses 500 points "
        "instead, and no bonus is paid. New or old tiles cost 300 points each time.</p>");
    return text;
}

QString documentationPage()
{
    return QStringLiteral(
        "<p>Version history</p>"
        "<h3>1.0.7 (build 29)</h3>"
        "<ul><li>Typing mode: Tab switches it, Backspace takes the last tile back.</li>"
        "<li>Menu option to turn off the 0 key, and tiles in two rows.</li>"
        "<li>Plural and singular checks on every word of the turn.</li></ul>"
        "<h3>1.0.6</h3>"
        "<ul><li>Fast game: everybody plays the same letters at once.</li>"
        "<li>The tally keeps your results against your opponents between games.</li></ul>"
        "<h3>1.0.5</h3>"
        "<ul><li>Spectators and the spy list; the host can remove a player.</li>"
        "<li>Phrase buttons and chatter sounds in the chat.</li></ul>"
        "<h3>1.0.4</h3>"
        "<ul><li>New tiles and old tiles for 300 points.</li>"
        "<li>The Zwonked At score is chosen when the game starts.</li></ul>"
        "<h3>1.0.0</h3>"
        "<ul><li>First release: up to six players over the network or a solo game.</li></ul>");
}

QString licensePage()
{
    return QStringLiteral(
        "<p>Zwonky is made by the Zwonky developers.<br>"
        "Copyright \u00A9 2026 the Zwonky developers.</p>"
        "<p>You may play this game, copy it and give copies to your friends free of charge, "
        "as long as this notice stays with it. You may not sell it.</p>"
        "<p>The game is provided \"as is\", without warranty of any kind. The Zwonky "
        "developers are not liable for any damage or loss arising from its use.</p>"
        "<h3>Word list</h3>"
        "<p>The game's word list is derived from SCOWL (Spell Checker Oriented Word Lists) by "
        "Kevin Atkinson and its contributors. Its copyright and permission notice comes with "
        "the game in the file <i>SCOWL-LICENSE.txt</i>.</p>");
}

QString sideStyle()
{
    return QStringLiteral(
        "QWidget#panel_side { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        "  stop:0 #1d3f8f, stop:1 #0b1b45); border-radius: 8px; }"
        "QWidget#panel_side QLabel { color: #c9d8ff; }"
        "QWidget#panel_side QPushButton { color: white; text-align: left; padding: 5px 10px;"
        "  border: 1px solid transparent; border-radius: 5px; background: transparent; }"
        "QWidget#panel_side QPushButton:hover { background: rgba(255,255,255,40); }"
        "QWidget#panel_side QPushButton:checked { background: #f6e7bf; color: #a0171b;"
        "  font-weight: bold; border-color: #8a6a2f; }"
        "QWidget#panel_side QPushButton#button_done { text-align: center; color: #1b2a4e;"
        "  background: #f2c14e; border-color: #8a6a2f; font-weight: bold; }"
        "QWidget#panel_side QPushButton#button_done:hover { background: #ffd76a; }"
        "QWidget#panel_page { background: #fffdf6; border: 1px solid #8a6a2f; border-radius: 8px; }"
        "QLabel#label_caption { color: #a0171b; font-size: 15pt; font-weight: bold;"
        "  padding: 2px 4px; border-bottom: 2px solid #f2c14e; }"
        "QTextBrowser { background: #fffdf6; border: none; }"
        "QScrollBar:vertical { background: #f3ead2; width: 11px; margin: 0; border-radius: 5px; }"
        "QScrollBar::handle:vertical { background: #c8a86a; min-height: 24px; border-radius: 5px; }"
        "QScrollBar::handle:vertical:hover { background: #a8843e; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");
}

} // namespace

Thelp::Thelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Thelp"));
    setWindowTitle(QStringLiteral("Zwonky - Help File"));
    resize(535, 432);
}

void Thelp::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    setStyleSheet(sideStyle());

    applySkyBackground(this, 432);

    // Side panel: the page buttons, About, the credits and Done.
    m_panelSide = new QWidget(this);
    m_panelSide->setObjectName(QStringLiteral("panel_side"));
    m_panelSide->setAttribute(Qt::WA_StyledBackground, true);
    // The selected page's caption is bold: the panel is as wide as the
    // widest bold caption with the button's padding and border, so that no
    // caption is cut ("Documentation").
    QFont boldFont = m_panelSide->font();
    boldFont.setBold(true);
    const QFontMetrics bold(boldFont);
    int widestCaption = 0;
    for (const PageButton &page : PageButtons)
        widestCaption = qMax(widestCaption, bold.horizontalAdvance(QString::fromLatin1(page.caption)));
    constexpr int ButtonChrome = 2 * 10 + 2 * 1 + 4; // padding, border, a little air
    constexpr int SideMargins = 2 * 8;
    m_panelSide->setFixedWidth(qMax(132, widestCaption + ButtonChrome + SideMargins));
    auto *side = new QVBoxLayout(m_panelSide);
    side->setContentsMargins(8, 10, 8, 10);
    side->setSpacing(3);

    m_pageButtons = new QButtonGroup(this);
    m_pageButtons->setExclusive(true);
    for (int tag = 1; tag <= PageCount; ++tag) {
        const PageButton &page = PageButtons[tag - 1];
        auto *button = new QPushButton(QString::fromLatin1(page.caption), m_panelSide);
        button->setObjectName(QString::fromLatin1(page.name));
        button->setCheckable(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setProperty("tag", tag);
        m_pageButtons->addButton(button, tag);
        side->addWidget(button);
    }
    connect(m_pageButtons, &QButtonGroup::buttonClicked, this, &Thelp::SelButton1Click);

    m_buttonAbout = new QPushButton(QStringLiteral("About"), m_panelSide);
    m_buttonAbout->setObjectName(QStringLiteral("button_about"));
    m_buttonAbout->setCursor(Qt::PointingHandCursor);
    connect(m_buttonAbout, &QPushButton::clicked, this, &Thelp::button_aboutClick);
    side->addWidget(m_buttonAbout);
    side->addStretch();

    auto *credits = new QLabel(QStringLiteral("Zwonky 1.0.7\nby the\nZwonky developers"),
                               m_panelSide);
    credits->setObjectName(QStringLiteral("label_credits"));
    credits->setAlignment(Qt::AlignCenter);
    side->addWidget(credits);
    side->addSpacing(6);

    m_buttonDone = new QPushButton(QStringLiteral("Done"), m_panelSide);
    m_buttonDone->setObjectName(QStringLiteral("button_done"));
    m_buttonDone->setCursor(Qt::PointingHandCursor);
    connect(m_buttonDone, &QPushButton::clicked, this, &Thelp::button_doneClick);
    side->addWidget(m_buttonDone);

    // Right panel: the page title above the pages, which lie on top of each other.
    auto *pagePanel = new QWidget(this);
    pagePanel->setObjectName(QStringLiteral("panel_page"));
    pagePanel->setAttribute(Qt::WA_StyledBackground, true);
    auto *right = new QVBoxLayout(pagePanel);
    right->setContentsMargins(10, 8, 4, 8);
    right->setSpacing(6);

    m_labelCaption = new QLabel(pagePanel);
    m_labelCaption->setObjectName(QStringLiteral("label_caption"));
    right->addWidget(m_labelCaption);

    m_pages = new QStackedWidget(pagePanel);
    m_pages->setObjectName(QStringLiteral("stack_pages"));
    for (int tag = 1; tag <= PageCount; ++tag) {
        auto *memo = new QTextBrowser(m_pages);
        memo->setObjectName(QStringLiteral("memo%1").arg(tag));
        memo->setReadOnly(true);
        memo->setOpenLinks(false);
        memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo->setHtml(QString::fromLatin1(PageStyle) + pageText(tag));
        m_memos[tag - 1] = memo;
        m_pages->addWidget(memo);
    }
    right->addWidget(m_pages, 1);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(8);
    layout->addWidget(m_panelSide);
    layout->addWidget(pagePanel, 1);

    FormCreate();
    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Thelp::setVisible(bool visible)
{
    // The pages are laid out only for a player who opens the help.
    if (visible)
        ensureBuilt();
    QWidget::setVisible(visible);
}

void Thelp::FormCreate()
{
    showPage(1);
}

void Thelp::setAboutWindow(Tabout *about)
{
    m_about = about;
}

void Thelp::setBackgroundPicture(const QPixmap &picture)
{
    if (picture.isNull())
        return;
    QPalette pal = palette();
    pal.setBrush(QPalette::Window, QBrush(picture));
    setPalette(pal);
}

void Thelp::showOver(QWidget *mainWindow)
{
    m_centreOn = mainWindow;
    show();
    centre();
    raise();
    activateWindow();
}

QString Thelp::pageText(int tag)
{
    switch (tag) {
    case 1: return overviewPage();
    case 2: return connectingPage();
    case 3: return gamePlayPage();
    case 4: return scoringPage();
    case 5: return documentationPage();
    case 6: return licensePage();
    default: return {};
    }
}

void Thelp::showPage(int tag)
{
    ensureBuilt();
    QAbstractButton *button = m_pageButtons->button(tag);
    if (!button)
        return;
    button->setChecked(true);
    m_pages->setCurrentWidget(m_memos[tag - 1]);
    m_labelCaption->setText(button->text());
}

int Thelp::currentPage() const
{
    return m_pages ? m_pages->currentIndex() + 1 : 1;
}

void Thelp::SelButton1Click(QAbstractButton *button)
{
    if (button)
        showPage(button->property("tag").toInt());
}

void Thelp::button_aboutClick()
{
    if (m_about)
        m_about->showOver(m_centreOn ? m_centreOn.data() : parentWidget());
}

void Thelp::button_doneClick()
{
    hide();
}

void Thelp::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    centre();
}

void Thelp::centre()
{
    centreWindow(this, m_centreOn ? m_centreOn.data() : parentWidget());
}

} // namespace zwonky
