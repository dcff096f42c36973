#include "lobby/foundgamesview.h"

#include "lobby/announcelistener.h"
#include "lobby/emptyhint.h"

#include "widgets/plaintext.h"

#include <QDateTime>
#include <QHeaderView>

namespace zwonky::lobby {

namespace {
constexpr int KeyRole = Qt::UserRole;
constexpr int AddressRole = Qt::UserRole + 1;

QString keyOf(const FoundGame &game)
{
    return game.id + QLatin1Char('@') + game.addressText();
}
} // namespace

FoundGamesView::FoundGamesView(const AnnounceListener &listener, QWidget *parent)
    : QTreeWidget(parent), m_listener(listener)
{
    setObjectName(QStringLiteral("list_games"));
    setColumnCount(3);
    setHeaderLabels({QStringLiteral("Host"), QStringLiteral("Address"), QStringLiteral("Since")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    setStyleSheet(QStringLiteral(
        "QTreeWidget { background: #fdf8ec; border: 1px solid #c8b286; border-radius: 6px;"
        " color: #1e1e1e; }"
        "QTreeWidget::item { padding: 3px 2px; }"
        "QTreeWidget::item:selected { background: #f0b44c; color: #1e1e1e; }"
        "QHeaderView::section { background: #efe2c0; color: #5a4520; border: none;"
        " padding: 3px 6px; font-weight: bold; }"));
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(RefreshIntervalMs);
    connect(&m_refreshTimer, &QTimer::timeout, this, &FoundGamesView::refresh);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QString address = pickedAddress();
        if (!address.isEmpty())
            emit picked(address);
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        emit confirmed(item->data(0, AddressRole).toString());
    });
}

QString FoundGamesView::pickedAddress() const
{
    const auto items = selectedItems();
    return items.isEmpty() ? QString() : items.first()->data(0, AddressRole).toString();
}

void FoundGamesView::paintEvent(QPaintEvent *event)
{
    QTreeWidget::paintEvent(event);
    paintEmptyHint(*this, QStringLiteral("Looking for games... A game hosted on your network "
                                         "shows up here by itself."));
}

void FoundGamesView::refreshSoon()
{
    if (!m_refreshTimer.isActive())
        m_refreshTimer.start();
}

void FoundGamesView::refresh()
{
    m_refreshTimer.stop();
    const auto selected = selectedItems();
    const QString keep = selected.isEmpty() ? QString() : selected.first()->data(0, KeyRole).toString();
    const QSignalBlocker quiet(this);
    clear();
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 nowMs = m_listener.now();
    for (const FoundGame &game : m_listener.games().games()) {
        auto *item = new QTreeWidgetItem(this);
        const QString address = game.addressText();
        item->setText(0, game.name);
        item->setText(1, address);
        const QDateTime since = now.addMSecs(game.firstHeardMs - nowMs);
        item->setText(2, QLocale().toString(since.time(), QLocale::ShortFormat));
        item->setToolTip(0, plaintext::toolTip(
                                QStringLiteral("%1, version %2").arg(game.name, game.version)));
        item->setData(0, KeyRole, keyOf(game));
        item->setData(0, AddressRole, address);
        if (keyOf(game) == keep)
            item->setSelected(true);
    }
}

} // namespace zwonky::lobby
