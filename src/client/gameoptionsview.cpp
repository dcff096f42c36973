#include "client/gameoptionsview.h"

#include "session/clientsession.h"
#include "widgets/flatpanel.h"
#include "widgets/textcolour.h"

#include <QLabel>

namespace zwonky {

GameOptionsView::GameOptionsView(ClientSession &session, QWidget *parent) : QObject(parent)
{
    auto *options = new FlatPanel(parent);
    options->setObjectName(QStringLiteral("panel_options"));
    options->setGeometry(2, 58, 184, 134);
    setTextColour(options, QColor(0x1e, 0x1e, 0x1e));
    m_panel = options;
    auto optionLabel = [options](const char *name, const QString &text, int row) {
        auto *label = new QLabel(text, options);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(QRect(10, 6 + row * 17, 168, 17));
        return label;
    };
    m_playToLabel = optionLabel("label_playtoscore", QStringLiteral("Play To Score: 5000"), 0);
    m_timePerTurnLabel = optionLabel("label_timeperturn", QStringLiteral("Time Per Turn: 90"), 1);
    m_zwonkedAtLabel = optionLabel("label_zwonkedat", QStringLiteral("Zwonked At: 2000"), 2);
    m_newLabel = optionLabel("label_new", QStringLiteral("Allow New Tiles: On"), 3);
    m_typingLabel = optionLabel("label_typing", QStringLiteral("Allow Typing: Off"), 4);
    m_fastGameLabel = optionLabel("label_fastgame", QStringLiteral("Fast Game: No"), 5);
    m_fastGameLabel->setProperty("tag", 0);
    m_teamLabel = optionLabel("label_team", QString(), 6);
    QFont bold = options->font();
    bold.setBold(true);
    m_teamLabel->setFont(bold);
    setTextColour(m_teamLabel, QColor(0x80, 0x00, 0x00));

    connect(&session, &ClientSession::gameStarted, this,
            [this](const QString &, const GameSettings &settings) { onGameStarted(settings); });
    connect(&session, &ClientSession::caughtUp, this,
            [this](int, const GameSettings &settings) { onCaughtUp(settings); });
}

void GameOptionsView::showFastGame(bool fast)
{
    m_fastGameLabel->setText(fast ? QStringLiteral("Fast Game: Yes") : QStringLiteral("Fast Game: No"));
    m_fastGameLabel->setProperty("tag", fast ? 2 : 1);
}

void GameOptionsView::onGameStarted(const GameSettings &settings)
{
    m_playToLabel->setText(QStringLiteral("Play to Score: %1").arg(settings.playTo));
    m_timePerTurnLabel->setText(QStringLiteral("Time Per Turn: %1").arg(settings.timePerTurn));
    m_zwonkedAtLabel->setText(QStringLiteral("Zwonked At: %1").arg(settings.zwonkedAt));
    m_typingLabel->setText(settings.typing ? QStringLiteral("Allow Typing: On")
                                                : QStringLiteral("Allow Typing: Off"));
    m_newLabel->setText(settings.newTiles ? QStringLiteral("Allow New Tiles: On")
                                               : QStringLiteral("Allow New Tiles: Off"));
    showFastGame(settings.fast);
    m_teamLabel->setText(settings.team ? QStringLiteral("Team Game!") : QString());
}

void GameOptionsView::onCaughtUp(const GameSettings &settings)
{
    showFastGame(settings.fast);
    m_teamLabel->setText(settings.team ? QStringLiteral("Team Game") : QString());
    m_playToLabel->setText(QStringLiteral("Play to Score: %1").arg(settings.playTo));
    m_timePerTurnLabel->setText(QStringLiteral("Time Per Turn: %1").arg(settings.timePerTurn));
    m_zwonkedAtLabel->setText(QStringLiteral("Zwonked at: %1").arg(settings.zwonkedAt));
    m_typingLabel->setText(settings.typing ? QStringLiteral("Allow Typing: ON")
                                                : QStringLiteral("Allow Typing: OFF"));
    m_newLabel->setText(settings.newTiles ? QStringLiteral("Allow New Tiles: ON")
                                               : QStringLiteral("Allow New Tiles: OFF"));
}

} // namespace zwonky
