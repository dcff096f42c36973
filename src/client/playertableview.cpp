#include "client/playertableview.h"

#include "net/zwonkyerror.h"
#include "session/clientsession.h"
#include "widgets/artlabel.h"
#include "widgets/artwork.h"
#include "widgets/scaledtree.h"
#include "widgets/plaintext.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace zwonky {

namespace {

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

const QColor GainGreen(0x1f, 0x6b, 0x2a);
const QColor PenaltyRed(0xa0, 0x00, 0x00);

QLabel *at(const std::array<QLabel *, 7> &row, int seat)
{
    return isPlayingSeat(seat) ? row[std::size_t(seat)] : nullptr;
}

} // namespace

PlayerTableView::PlayerTableView(ClientSession &session, QWidget *panel, QWidget *window)
    : QObject(window), m_session(session)
{
    buildRows(panel);
    buildPopup(window);
    connect(&session, &ClientSession::playerChanged, this, [this](int seat) { showRow(seat); });
    connect(&session, &ClientSession::scoresChanged, this, &PlayerTableView::refresh);
    connect(&session, &ClientSession::turnHandedOver, this, &PlayerTableView::refresh);
    connect(&session, &ClientSession::gameStarted, this, &PlayerTableView::refresh);
    connect(&session, &ClientSession::turnStarted, this, &PlayerTableView::markTurn);
    connect(&session, &ClientSession::caughtUp, this,
            [this](int seat, const GameSettings &) { markCaughtUpTurn(seat); });
    refresh();
}

void PlayerTableView::buildRows(QWidget *panel)
{
    QFont nameFont = panel->font();
    nameFont.setBold(true);
    for (int seat = FirstSeat; seat <= LastPlayingSeat; ++seat) {
        const auto i = std::size_t(seat);
        const int top = RowTops[i];
        const QColor colour = seat % 2 ? artwork::maroonColour() : artwork::inkColour();
        const QString n = QString::number(seat);

        auto *name = new QLabel(PlayerTable::EmptySeat, panel);
        plaintext::keep(name);
        name->setObjectName(QStringLiteral("label_playername") + n);
        name->setProperty("tag", seat);
        name->setGeometry(16, top, 108, 20);
        name->setFont(nameFont);
        name->setContextMenuPolicy(Qt::CustomContextMenu);
        setTextColour(name, colour);
        connect(name, &QWidget::customContextMenuRequested, this, [this, name, seat](QPoint where) {
            guarded([&] { popupFor(seat, name->mapToGlobal(where)); });
        });
        m_names[i] = name;

        auto *score = new QLabel(QStringLiteral("0"), panel);
        plaintext::keep(score); // the host's text, a number or not
        score->setObjectName(QStringLiteral("label_score") + n);
        score->setGeometry(126, top, 38, 20);
        score->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setTextColour(score, colour);
        m_scores[i] = score;

        auto *bonus = new QLabel(QString(), panel);
        bonus->setObjectName(QStringLiteral("label_bonus") + n);
        // Any turn result up to six digits with its sign ("+123456").
        bonus->setGeometry(164, top, 60, 20);
        bonus->setContentsMargins(3, 0, 0, 0); // clear of the score before it
        setTextColour(bonus, GainGreen);
        m_bonuses[i] = bonus;

        auto *eyes = new ArtLabel(artwork::paintEyes, artwork::EyesSize, panel);
        eyes->setObjectName(QStringLiteral("image_eyes") + n);
        // The two markers share a place: a seat that watches plays no turn.
        eyes->move(226, top + 4);
        eyes->setToolTip(QStringLiteral("Just watching"));
        eyes->hide();
        m_eyes[i] = eyes;

        auto *fresh = new ArtLabel(artwork::paintNewTilesMarker, artwork::NewTilesMarkerSize, panel);
        fresh->setObjectName(QStringLiteral("image_new") + n);
        fresh->move(226, top + 4);
        fresh->setToolTip(QStringLiteral("Bought new tiles this turn"));
        fresh->hide();
        m_newMarkers[i] = fresh;
    }
    m_turnMarker = new ArtLabel(artwork::paintTurnMarker, artwork::TurnMarkerSize, panel);
    m_turnMarker->setObjectName(QStringLiteral("image_Turn"));
    m_turnMarker->move(3, RowTops[1] + 2);
    m_turnMarker->hide();
}

void PlayerTableView::buildPopup(QWidget *window)
{
    m_kickPopup = new QMenu(window);
    m_kickPopup->setObjectName(QStringLiteral("popup_kick"));
    m_kickPopup->setProperty("tag", 0);
    auto item = [this](const char *name, const QString &text) {
        QAction *entry = m_kickPopup->addAction(text);
        entry->setObjectName(QLatin1String(name));
        return entry;
    };
    m_removeFromGame = item("RemoveFromGame1", QStringLiteral("Remove From Game"));
    m_setToWatch = item("SettoJustWatch1", QStringLiteral("Set to Just Watch"));
    m_unsetWatch = item("UnsetJustWatch1", QStringLiteral("Unset Just Watch"));
    auto seat = [this] { return m_popupSeat; };
    connect(m_removeFromGame, &QAction::triggered, this,
            [this, seat] { guarded([&] { m_session.kick(seat()); }); });
    connect(m_setToWatch, &QAction::triggered, this,
            [this, seat] { guarded([&] { m_session.setSeatWatching(seat(), true); }); });
    connect(m_unsetWatch, &QAction::triggered, this,
            [this, seat] { guarded([&] { m_session.setSeatWatching(seat(), false); }); });
}

void PlayerTableView::guarded(const std::function<void()> &work)
{
    runGuarded(work, [this](const QString &text) {
        if (m_report)
            m_report(text);
    });
}

QLabel *PlayerTableView::nameLabel(int seat) const { return at(m_names, seat); }
QLabel *PlayerTableView::scoreLabel(int seat) const { return at(m_scores, seat); }

void PlayerTableView::refresh()
{
    for (int seat = FirstSeat; seat <= LastPlayingSeat; ++seat)
        showRow(seat);
}

void PlayerTableView::showRow(int seat)
{
    if (!isPlayingSeat(seat))
        return;
    const auto i = std::size_t(seat);
    const PlayerRow &row = m_session.players().row(seat);
    m_names[i]->setText(row.shownName());
    m_scores[i]->setText(row.scoreText);
    if (!row.result)
        m_bonuses[i]->clear();
    else if (row.result->lostPoints())
        m_bonuses[i]->setText(QStringLiteral("-500"));
    else
        m_bonuses[i]->setText(QStringLiteral("+%1").arg(row.result->points()));
    // A loss in red, a gain in green.
    setTextColour(m_bonuses[i], row.result && row.result->lostPoints() ? PenaltyRed : GainGreen);
    m_eyes[i]->setVisible(row.watching);
    m_newMarkers[i]->setVisible(row.boughtTiles);
}

void PlayerTableView::markTurn(int seat)
{
    QLabel *name = nameLabel(seat);
    if (!name)
        return;
    // In a fast game everybody plays at once: no marker.
    m_turnMarker->setVisible(!m_session.settings().fast);
    scaled::move(m_turnMarker, {scaled::geometry(m_turnMarker).x(), scaled::geometry(name).y() + 2});
}

void PlayerTableView::markCaughtUpTurn(int seat)
{
    // A newcomer's marker goes to the row as it stands; it shows with the next turn.
    if (const QLabel *name = nameLabel(seat))
        scaled::move(m_turnMarker, {scaled::geometry(m_turnMarker).x(), scaled::geometry(name).y()});
}

void PlayerTableView::popupFor(int seat, const QPoint &globalPosition)
{
    const bool hosting = m_session.isHosting();
    for (QAction *entry : {m_removeFromGame, m_setToWatch, m_unsetWatch})
        entry->setEnabled(hosting);
    if (m_beforePopup)
        m_beforePopup();
    if (!m_session.players().row(seat).seated)
        m_removeFromGame->setEnabled(false);
    m_popupSeat = seat;
    m_kickPopup->setProperty("tag", seat);
    if (!globalPosition.isNull())
        m_kickPopup->popup(globalPosition);
}

} // namespace zwonky
