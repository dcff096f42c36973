#include "lobby/lobbywindow.h"

#include "lobby/announcelistener.h"
#include "lobby/emptyhint.h"
#include "lobby/foundgamesview.h"
#include "net/hostaddress.h"
#include "widgets/artlabel.h"
#include "widgets/artwork.h"
#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/pilllabel.h"
#include "widgets/plaintext.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace zwonky::lobby {

namespace {

const char *const FieldStyle =
    "QLineEdit, QListWidget { background: #fdf8ec; border: 1px solid #c8b286;"
    " border-radius: 6px; padding: 3px 5px; color: #1e1e1e; }"
    "QListWidget::item:selected { background: #f0b44c; color: #1e1e1e; }";

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color: #5a4520;"));
    return label;
}

FlatButton *button(const char *name, const QString &text, const QColor &accent, QWidget *parent)
{
    auto *b = new FlatButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccent(accent);
    b->setMinimumHeight(32);
    return b;
}

} // namespace

LobbyWindow::LobbyWindow(LobbyController &controller, AnnounceListener &listener,
                         LobbySettingsFile settingsFile, QWidget *parent)
    : TiledBackground(parent),
      m_controller(controller),
      m_listener(listener),
      m_file(std::move(settingsFile))
{
    setObjectName(QStringLiteral("lobby"));
    setWindowTitle(QStringLiteral("Zwonky Lobby"));
    m_settings = m_file.load();
    buildLayout();
    m_name->setText(m_settings.playerName);
    m_announce->setChecked(m_settings.announce);
    m_controller.setAnnouncing(m_settings.announce);
    fillRecent();

    connect(&m_listener, &AnnounceListener::gamesChanged, m_games, &FoundGamesView::refreshSoon);
    connect(m_games, &FoundGamesView::picked, m_address, &QLineEdit::setText);
    connect(m_games, &FoundGamesView::confirmed, this, [this](const QString &address) {
        m_address->setText(address);
        button_joinClick();
    });
    connect(m_recent, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { m_address->setText(item->text()); });
    connect(m_recent, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        m_address->setText(item->text());
        button_joinClick();
    });
    connect(m_name, &QLineEdit::editingFinished, this, &LobbyWindow::saveSettings);
    connect(m_announce, &QCheckBox::toggled, this, [this](bool on) {
        m_controller.setAnnouncing(on);
        saveSettings();
        showState();
    });
    connect(m_host, &QPushButton::clicked, this, &LobbyWindow::button_hostClick);
    connect(m_join, &QPushButton::clicked, this, &LobbyWindow::button_joinClick);
    connect(m_address, &QLineEdit::returnPressed, this, &LobbyWindow::button_joinClick);
    connect(m_solo, &QPushButton::clicked, this, &LobbyWindow::button_soloClick);
    connect(&m_controller, &LobbyController::stateChanged, this, &LobbyWindow::showState);
    connect(&m_controller, &LobbyController::notice, this, [this](const QString &text) {
        showState();
        showStatus(text);
    });
    showState();
}

void LobbyWindow::buildLayout()
{
    resize(720, 470);
    setMinimumSize(600, 420);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 10, 12, 12);
    outer->setSpacing(10);

    auto *top = new QHBoxLayout;
    auto *logo = new ArtLabel(artwork::paintLogo, artwork::LogoSize, this);
    logo->setObjectName(QStringLiteral("image_logo"));
    logo->setFixedSize(artwork::LogoSize);
    top->addWidget(logo);
    auto *title = new QLabel(QStringLiteral("Lobby"), this);
    title->setObjectName(QStringLiteral("label_title"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(24);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white;"));
    top->addWidget(title);
    top->addStretch();
    outer->addLayout(top);

    auto *panels = new QHBoxLayout;
    panels->setSpacing(10);
    outer->addLayout(panels, 1);

    // ---- left: who plays, and the games of one's own
    auto *player = new FlatPanel(this);
    player->setObjectName(QStringLiteral("panel_player"));
    player->setStyleSheet(QString::fromLatin1(FieldStyle));
    auto *left = new QVBoxLayout(player);
    left->setContentsMargins(12, 12, 12, 12);
    left->addWidget(heading(QStringLiteral("Your name"), player));
    m_name = new QLineEdit(player);
    m_name->setObjectName(QStringLiteral("edit_name"));
    m_name->setMaxLength(int(MaxNameLength));
    m_name->setPlaceholderText(QStringLiteral("The name the others see"));
    left->addWidget(m_name);
    left->addSpacing(10);
    m_host = button("button_host", QStringLiteral("Host a Game"), artwork::accentColour(), player);
    left->addWidget(m_host);
    m_announce = new QCheckBox(QStringLiteral("Show my games on my network"), player);
    m_announce->setObjectName(QStringLiteral("check_announce"));
    m_announce->setStyleSheet(QStringLiteral("color: #1e1e1e;"));
    left->addWidget(m_announce);
    left->addStretch();
    m_solo = button("button_solo", QStringLiteral("Solo Game"), QColor(0x5d, 0x92, 0xff), player);
    left->addWidget(m_solo);
    player->setFixedWidth(250);
    panels->addWidget(player);

    // ---- right: other people's games
    auto *join = new FlatPanel(this);
    join->setObjectName(QStringLiteral("panel_join"));
    join->setStyleSheet(QString::fromLatin1(FieldStyle));
    auto *right = new QVBoxLayout(join);
    right->setContentsMargins(12, 12, 12, 12);
    right->addWidget(heading(QStringLiteral("Games on your network"), join));
    m_games = new FoundGamesView(m_listener, join);
    right->addWidget(m_games, 2);
    right->addWidget(heading(QStringLiteral("Host address"), join));
    auto *addressRow = new QHBoxLayout;
    m_address = new QLineEdit(join);
    m_address->setObjectName(QStringLiteral("edit_address"));
    m_address->setMaxLength(int(MaxHostTextLength));
    m_address->setPlaceholderText(QStringLiteral("Name, IPv4 or IPv6 address of the host"));
    addressRow->addWidget(m_address, 1);
    m_join = button("button_join", QStringLiteral("Join"), QColor(0x3f, 0x9e, 0x58), join);
    m_join->setMinimumWidth(90);
    addressRow->addWidget(m_join);
    right->addLayout(addressRow);
    right->addWidget(heading(QStringLiteral("Joined lately"), join));
    m_recent = new HintedList(QStringLiteral("The hosts you join are remembered here."), join);
    m_recent->setObjectName(QStringLiteral("list_recent"));
    right->addWidget(m_recent, 1);
    panels->addWidget(join, 1);

    m_status = new PillLabel(this);
    m_status->setObjectName(QStringLiteral("label_status"));
    // The status may name a host picked from the network's list.
    plaintext::keep(m_status);
    outer->addWidget(m_status);
    m_problem = new PillLabel(this);
    m_problem->setObjectName(QStringLiteral("label_problem"));
    plaintext::keep(m_problem);
    m_problem->setStyleSheet(QStringLiteral("color: #a02020;"));
    m_problem->setWordWrap(true);
    m_problem->hide();
    outer->addWidget(m_problem);
}

void LobbyWindow::setProblem(const QString &text)
{
    m_problem->setText(text);
    m_problem->setVisible(!text.isEmpty());
}

QString LobbyWindow::statusText() const
{
    return m_status->text();
}

void LobbyWindow::showStatus(const QString &text)
{
    m_status->setText(text);
}

void LobbyWindow::showState()
{
    const bool idle = !m_controller.gameRunning();
    m_host->setEnabled(idle);
    m_join->setEnabled(idle);
    m_solo->setEnabled(idle);
    switch (m_controller.state()) {
    case LobbyController::State::Idle:
        showStatus(QStringLiteral("No game running. Host one, join one, or play alone."));
        break;
    case LobbyController::State::Running:
        if (m_controller.role() == LobbyController::Role::Host)
            showStatus(m_controller.announcingAllowed()
                           ? QStringLiteral("You are hosting a game. Players on your network see it in their lobby.")
                           : QStringLiteral("You are hosting a game. It is not shown on your network."));
        else if (!m_joinedHost.isEmpty())
            showStatus(QStringLiteral("You are playing in the game at %1. The lobby is back when it ends.")
                           .arg(m_joinedHost));
        else
            showStatus(QStringLiteral("Your game is running. The lobby is back when it ends."));
        break;
    }
}

LobbySettings LobbyWindow::currentSettings() const
{
    LobbySettings settings = m_settings;
    settings.playerName = playerNameFor(m_name->text());
    settings.announce = m_announce->isChecked();
    return settings;
}

void LobbyWindow::saveSettings()
{
    const LobbySettings settings = currentSettings();
    if (settings == m_settings)
        return;
    QString error;
    if (!m_file.save(settings, &error)) {
        showStatus(error);
        return;
    }
    m_settings = settings;
}

void LobbyWindow::fillRecent()
{
    m_recent->clear();
    m_recent->addItems(m_settings.recentHosts);
}

void LobbyWindow::button_hostClick()
{
    m_joinedHost.clear();
    saveSettings();
    QString message;
    if (!m_controller.hostGame(m_name->text(), &message))
        showStatus(message);
}

void LobbyWindow::button_joinClick()
{
    if (m_controller.gameRunning()) {
        QString message;
        m_controller.joinGame(m_name->text(), m_address->text(), &message);
        showStatus(message);
        return;
    }
    saveSettings();
    QString message;
    // Named in the status as soon as the game runs.
    m_joinedHost = normalisedHost(m_address->text()).value_or(QString());
    if (!m_controller.joinGame(m_name->text(), m_address->text(), &message)) {
        m_joinedHost.clear();
        showStatus(message);
        return;
    }
    LobbySettings settings = m_settings;
    settings.rememberHost(m_joinedHost);
    QString error;
    if (m_file.save(settings, &error))
        m_settings = settings;
    fillRecent();
}

void LobbyWindow::button_soloClick()
{
    m_joinedHost.clear();
    QString message;
    if (!m_controller.soloGame(&message))
        showStatus(message);
}

} // namespace zwonky::lobby
