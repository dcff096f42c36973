#include "client/mainmenus.h"

#include "players/playerlevel.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace zwonky {

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &text)
{
    QMenu *menu = bar->addMenu(text);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

QAction *addItem(QMenu *menu, const char *name, const QString &text)
{
    QAction *item = menu->addAction(text);
    item->setObjectName(QLatin1String(name));
    return item;
}

QAction *addCheck(QMenu *menu, const char *name, const QString &text, bool on)
{
    QAction *item = addItem(menu, name, text);
    item->setCheckable(true);
    item->setChecked(on);
    return item;
}

// "8" keys on its 8, "10" on its 0, "12" on its 2, "14" on its 4.
QString sizeCaption(int size)
{
    QString caption = QString::number(size);
    caption.insert(caption.size() - 1, QLatin1Char('&'));
    return caption;
}

} // namespace

MainMenus::MainMenus(QMenuBar *bar, QObject *parent) : QObject(parent)
{
    bar->setObjectName(QStringLiteral("MainMenu1"));
    buildFile(bar);
    buildOptions(bar);
    buildView(bar);
    buildHelp(bar);
}

void MainMenus::buildFile(QMenuBar *bar)
{
    QMenu *file = addMenu(bar, "File1", QStringLiteral("&File"));
    m_startGame = addItem(file, "StartGame1", QStringLiteral("&Start Game"));
    file->addSeparator();
    m_addComputer = file->addMenu(QStringLiteral("&Add Computer Player"));
    m_addComputer->setObjectName(QStringLiteral("AddComputerPlayer1"));
    for (int n = LowestLevel; n <= HighestLevel; ++n) {
        QAction *level = m_addComputer->addAction(QLatin1Char('&') + levelName(n));
        level->setObjectName(QStringLiteral("Add") + levelName(n) + QLatin1Char('1'));
        level->setData(n);
    }
    m_removeComputers = addItem(file, "RemoveComputerPlayers1",
                                QStringLiteral("&Remove Computer Players"));
    enableComputerItems(false);
    file->addSeparator();
    // Kept from older versions of the menu; they do nothing and are never shown.
    addItem(file, "HostGame1", QStringLiteral("Host Game"))->setVisible(false);
    addItem(file, "JoinGame1", QStringLiteral("Join Game"))->setVisible(false);
    m_exit = addItem(file, "Exit1", QStringLiteral("E&xit"));
}

void MainMenus::enableComputerItems(bool enabled)
{
    m_addComputer->setEnabled(enabled);
    m_removeComputers->setEnabled(enabled);
}

void MainMenus::buildOptions(QMenuBar *bar)
{
    QMenu *options = addMenu(bar, "Options1", QStringLiteral("&Options"));
    m_playSounds = addCheck(options, "PlaySounds1", QStringLiteral("Play &Sounds"), true);
    m_playChatter = addCheck(options, "PlayChatterSounds1", QStringLiteral("Play &Chatter Sounds"), false);
    m_turnSoundMenu = options->addMenu(QStringLiteral("Turn Soun&d"));
    m_turnSoundMenu->setObjectName(QStringLiteral("TurnSound1"));
    m_turnSoundMenu->setProperty("tag", 0);
    auto *turnSounds = new QActionGroup(this);
    turnSounds->setExclusive(true);
    m_classic = addCheck(m_turnSoundMenu, "Classic1", QStringLiteral("&Classic"), true);
    m_classic->setProperty("tag", 0);
    m_newSound = addCheck(m_turnSoundMenu, "New1", QStringLiteral("&New"), false);
    m_newSound->setProperty("tag", 1);
    turnSounds->addAction(m_classic);
    turnSounds->addAction(m_newSound);
    options->addSeparator();
    m_twoRows = addCheck(options, "TilesinTwoRows1", QStringLiteral("Tiles in T&wo Rows"), false);
    m_turnOff0 = addCheck(options, "Turnoff0key1", QStringLiteral("Turn off &0 key"), false);
    options->addSeparator();
    m_textColor = addItem(options, "TextColor1", QStringLiteral("&Text Color"));
    m_actionColor = addItem(options, "ActionColor1", QStringLiteral("&Action Color"));
    QMenu *textSize = options->addMenu(QStringLiteral("Te&xt Size"));
    textSize->setObjectName(QStringLiteral("TextSize1"));
    static constexpr std::array<const char *, 4> sizeNames{"N8", "N10", "N12", "N14"};
    for (std::size_t i = 0; i < TextSizes.size(); ++i) {
        m_textSizes[i] = addItem(textSize, sizeNames[i], sizeCaption(TextSizes[i]));
        m_textSizes[i]->setProperty("tag", TextSizes[i]);
    }
    m_scrollOff = addCheck(options, "ScrollOff1", QStringLiteral("Chat Scr&oll Off"), false);
    m_resetLocation = addItem(options, "ResetScreenLocation1", QStringLiteral("&Reset Screen Location"));
    options->addSeparator();
    m_justWatch = addCheck(options, "JustWatch1", QStringLiteral("&Just Watch"), false);
}

void MainMenus::buildView(QMenuBar *bar)
{
    QMenu *view = addMenu(bar, "View1", QStringLiteral("&View"));
    m_viewTally = addItem(view, "ViewTally1", QStringLiteral("View &Tally"));
    m_spyList = addItem(view, "SpyList1", QStringLiteral("&Spy List"));
    m_phraseList = addItem(view, "PrhaseList1", QStringLiteral("&Phrase List"));
}

void MainMenus::buildHelp(QMenuBar *bar)
{
    QMenu *help = addMenu(bar, "Help1", QStringLiteral("&Help"));
    m_help = addItem(help, "Help2", QStringLiteral("&Content"));
    m_help->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    m_about = addItem(help, "About1", QStringLiteral("&About"));
}

void MainMenus::showTurnSound(bool newSound)
{
    m_turnSoundMenu->setProperty("tag", newSound ? 1 : 0);
    m_classic->setChecked(!newSound);
    m_newSound->setChecked(newSound);
}

void MainMenus::showTextSize(int size)
{
    for (std::size_t i = 0; i < TextSizes.size(); ++i)
        m_textSizes[i]->setChecked(TextSizes[i] == size);
}

void MainMenus::showCompanionsPresent(bool tally, bool spyList, bool phrases, bool help, bool about)
{
    m_viewTally->setEnabled(tally);
    m_spyList->setEnabled(spyList);
    m_phraseList->setEnabled(phrases);
    m_help->setEnabled(help);
    m_about->setEnabled(about);
}

} // namespace zwonky
