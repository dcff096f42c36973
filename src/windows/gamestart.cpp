#include "windows/gamestart.h"
#include "windows/controlnames.h"

#include "widgets/artlabel.h"
#include "widgets/artwork.h"
#include "widgets/flatpanel.h"
#include "widgets/placement.h"
#include "widgets/spinedit.h"
#include "widgets/textcolour.h"

#include "players/playerlevel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>
#include <utility>

namespace zwonky {

namespace {

// A number box's range and the step of its arrows.
struct BoxRange {
    int minimum;
    int maximum;
    int step;
};

constexpr BoxRange PlayToRange{5000, 50000, 1000};
constexpr BoxRange TimeRange{60, 120, 5};
constexpr BoxRange ZwonkedRange{1000, 5000, 1000};
constexpr BoxRange ComputersRange{0, 5, 1};

// What a box makes of a number it is given.
int held(const BoxRange &range, int value)
{
    return std::clamp(value, range.minimum, range.maximum);
}

SpinEdit *makeBox(QWidget *parent, const char *name, const BoxRange &range, int value, int top)
{
    auto *box = new SpinEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(range.minimum, range.maximum);
    box->setSingleStep(range.step);
    box->setValue(value);
    box->setAlignment(Qt::AlignRight);
    box->setGeometry(150, top, 82, 24);
    return box;
}

QLabel *makeCaption(QWidget *parent, const QString &text, int top)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(14, top, 134, 24);
    return label;
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, bool checked,
                     int top)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    box->setGeometry(22, top, 200, 20);
    return box;
}

} // namespace

Tgamestartform::Tgamestartform(QWidget *parent) : TiledBackground(parent)
{
    setObjectName(QStringLiteral("gamestartform"));
    setWindowTitle(QStringLiteral("Zwonky - Start Game"));
    // Title and close box only: a narrow window keeps its whole caption.
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Taller than the classic window by the two computer-player rows.
    setFixedSize(261, 311);

    m_chosen.team = false;
    m_chosen.playTo = 5000;
    m_chosen.timePerTurn = 60;
    m_chosen.zwonkedAt = 5000;
    m_chosen.newTiles = true;
    m_chosen.typing = false;
    m_chosen.fast = false;
    // A newcomer's first computer opponents are the gentlest ones.
    m_computerLevel = LowestLevel;
}

void Tgamestartform::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;

    auto *card = new FlatPanel(this);
    card->setObjectName(QStringLiteral("panel_options"));
    card->setGeometry(6, 6, 249, 299);
    setTextColour(card, QColor(0x1e, 0x1e, 0x1e));

    auto *heading = new QLabel(QStringLiteral("GAME OPTIONS"), card);
    heading->setObjectName(QStringLiteral("label_heading"));
    QFont font = heading->font();
    font.setBold(true);
    font.setPixelSize(17);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);
    setTextColour(heading, QColor(0x80, 0x00, 0x00));
    heading->setGeometry(0, 6, 249, 24);

    makeCaption(card, QStringLiteral("Play To Score:"), 36);
    m_playTo = makeBox(card, "playtoscore", PlayToRange, m_chosen.playTo, 36);
    makeCaption(card, QStringLiteral("Time Limit Per Turn:"), 64);
    m_timePerTurn = makeBox(card, "timeperturn", TimeRange, m_chosen.timePerTurn, 64);
    makeCaption(card, QStringLiteral("Zwonked At:"), 92)->setObjectName(
        QStringLiteral("label_zwonked"));
    m_zwonked = makeBox(card, "zwonked", ZwonkedRange, m_chosen.zwonkedAt, 92);

    m_new = makeCheck(card, "new", QStringLiteral("Allow New Tiles"), m_chosen.newTiles, 122);
    m_typing = makeCheck(card, "typing", QStringLiteral("Allow Typing"), m_chosen.typing, 142);
    m_fast = makeCheck(card, "fast", QStringLiteral("Fast Game"), m_chosen.fast, 162);
    if (m_fastHidden)
        m_fast->hide();
    // Team games are announced by the server only; the box is never offered.
    m_team = makeCheck(card, "team", QStringLiteral("Team Game"), true, 162);
    m_team->hide();

    makeCaption(card, QStringLiteral("Computer Players:"), 186);
    m_computers = makeBox(card, "computerplayers", ComputersRange, m_computerCount, 186);
    makeCaption(card, QStringLiteral("Computer Level:"), 214);
    m_level = new QComboBox(card);
    m_level->setObjectName(QStringLiteral("computerlevel"));
    for (int n = LowestLevel; n <= HighestLevel; ++n)
        m_level->addItem(levelName(n), n);
    m_level->setCurrentIndex(m_computerLevel - LowestLevel);
    m_level->setGeometry(150, 214, 82, 24);

    m_startPicture = new PictureButton(
        [](QPainter &p, const QRectF &r, bool hovered, bool pressed, bool enabled) {
            artwork::paintStartPicture(p, r, hovered, pressed, enabled);
        },
        QSize(150, 52), card);
    m_startPicture->setObjectName(QStringLiteral("Image1"));
    m_startPicture->setToolTip(QStringLiteral("Start the game with these options"));
    m_startPicture->move((249 - 150) / 2, 242);
    connect(m_startPicture, &QPushButton::clicked, this, [this] { button_startClick(); });
    // Names for screen readers, once every control is made.
    nameControls(this);
}

void Tgamestartform::setVisible(bool visible)
{
    // The controls are made only for a host who opens the window. They are
    // made before the window becomes visible: controls made while it is
    // already visible (in its show event) would stay hidden.
    if (visible && !isVisible()) {
        ensureBuilt();
        if (m_storedForNextOpening)
            setOptions(*std::exchange(m_storedForNextOpening, std::nullopt));
    }
    TiledBackground::setVisible(visible);
}

void Tgamestartform::hideFastOption()
{
    m_fastHidden = true;
    if (m_built)
        m_fast->hide();
}

int Tgamestartform::computerPlayers() const
{
    return m_built ? m_computers->shownValue() : m_computerCount;
}

int Tgamestartform::computerLevel() const
{
    return m_built ? m_level->currentData().toInt() : m_computerLevel;
}

void Tgamestartform::setComputerPlayers(int count, int level)
{
    m_computerCount = held(ComputersRange, count);
    m_computerLevel = clampLevel(level);
    if (!m_built)
        return;
    m_computers->setValue(m_computerCount);
    m_level->setCurrentIndex(m_computerLevel - LowestLevel);
}

protocol::GameOptions Tgamestartform::chosenOptions() const
{
    if (!m_built)
        return m_chosen;
    protocol::GameOptions options;
    options.team = false;
    options.playTo = m_playTo->shownValue();
    options.timePerTurn = m_timePerTurn->shownValue();
    options.zwonkedAt = m_zwonked->shownValue();
    options.newTiles = m_new->isChecked();
    options.typing = m_typing->isChecked();
    options.fast = m_fast->isChecked();
    return options;
}

protocol::GameOptions Tgamestartform::options() const
{
    protocol::GameOptions options = chosenOptions();
    options.fast = options.fast && !m_fastHidden;
    return options;
}

void Tgamestartform::setOptions(const protocol::GameOptions &options)
{
    m_chosen.playTo = held(PlayToRange, options.playTo);
    m_chosen.timePerTurn = held(TimeRange, options.timePerTurn);
    m_chosen.zwonkedAt = held(ZwonkedRange, options.zwonkedAt);
    m_chosen.newTiles = options.newTiles;
    m_chosen.typing = options.typing;
    m_chosen.fast = options.fast;
    if (!m_built)
        return;
    m_playTo->setValue(m_chosen.playTo);
    m_timePerTurn->setValue(m_chosen.timePerTurn);
    m_zwonked->setValue(m_chosen.zwonkedAt);
    m_new->setChecked(m_chosen.newTiles);
    m_typing->setChecked(m_chosen.typing);
    m_fast->setChecked(m_chosen.fast);
}

void Tgamestartform::setStoredOptions(const protocol::GameOptions &options)
{
    if (isVisible())
        m_storedForNextOpening = options;
    else
        setOptions(options);
}

void Tgamestartform::button_startClick()
{
    m_storedForNextOpening.reset();
    // A number still being typed counts as shown once it is brought into range.
    if (m_built) {
        for (SpinEdit *box : {m_playTo, m_timePerTurn, m_zwonked}) {
            if (box->hasFocus())
                box->clampText();
        }
    }
    if (m_start)
        m_start();
    hide();
}

void Tgamestartform::showEvent(QShowEvent *event)
{
    if (m_anchor)
        centreWindow(this, m_anchor);
    TiledBackground::showEvent(event);
}

} // namespace zwonky
