#include "client/chatform.h"
#include "client/mainmenus.h"
#include "client/trayview.h"

#include "client/settingsfile.h"
#include "client/chatpane.h"
#include "client/windowbounds.h"
#include "windows/gamestart.h"

#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include <algorithm>

namespace zwonky {

QString Tchat::settingsPath() const { return SettingsFile::pathIn(m_settingsFolder); }

WindowBounds Tchat::currentBounds() const { return WindowBounds{x(), y(), width(), height()}; }

void Tchat::loadinifile()
{
    const ClientSettings stored = SettingsFile(settingsPath()).load();

    // Placement, all four at once, held to the screen the stored position
    // lies on: a hand-edited file must not build a window of 100000 pixels.
    // What the file said is remembered, not where the window was put, so a
    // window that had to be held differs from it and closing stores the
    // bounds it really has.
    const WindowBounds &wanted = stored.bounds;
    const QScreen *target = QGuiApplication::screenAt(QPoint(wanted.left, wanted.top));
    if (!target)
        target = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = target ? target->availableGeometry()
                                   : QRect(windowsize::ResetLeft, windowsize::ResetTop,
                                           windowsize::DefaultWidth, windowsize::DefaultHeight);
    const QRect held =
        boundsOnScreen(wanted, available, minimumSizeHint().expandedTo(minimumSize()));
    m_rememberedBounds = wanted;
    move(held.topLeft());
    resize(held.size());

    m_chatPane->setTextSize(std::clamp(stored.textSize, 1, SettingsFile::LargestTextSize));
    m_menus->showTextSize(stored.textSize);
    m_chatPane->setTextColour(stored.textColour);
    m_chatPane->setActionColour(stored.actionColour);

    // A number the file does not hold as one leaves the window's box as it
    // is. An open window keeps what the player sees there.
    if (auto *form = qobject_cast<Tgamestartform *>(m_windows.gameStart); form && stored.start) {
        protocol::GameOptions options = form->chosenOptions();
        options.playTo = stored.start->playTo.value_or(options.playTo);
        options.timePerTurn = stored.start->timePerTurn.value_or(options.timePerTurn);
        options.zwonkedAt = stored.start->zwonkedAt.value_or(options.zwonkedAt);
        options.newTiles = stored.start->newTiles;
        options.fast = stored.start->fast;
        options.typing = stored.start->typing;
        form->setStoredOptions(options);
    }

    for (int k = 1; k <= SettingsFile::PhraseKeys; ++k) {
        const QString &text = stored.phrases[std::size_t(k - 1)];
        if (!text.isEmpty())
            m_chatPane->setPhrase(k, text);
    }

    m_menus->playSounds()->setChecked(stored.playSounds);
    m_menus->turnOff0()->setChecked(stored.turnOff0);
    if (m_menus->twoRows()->isChecked() != stored.twoRows) {
        m_menus->twoRows()->setChecked(stored.twoRows);
        m_tray->movetiles();
    }
    chooseTurnSound(stored.newTurnSound);
    m_menus->playChatter()->setChecked(stored.chatterSounds);

    m_settingsLoaded = true;
}

// The choice is kept here; the menu's ticks and its "tag" only show it.
void Tchat::chooseTurnSound(bool newSound)
{
    m_newTurnSound = newSound;
    m_menus->showTurnSound(newSound);
}

ClientSettings Tchat::collectSettings(const WindowBounds &bounds) const
{
    ClientSettings s;
    s.bounds = bounds;
    s.textSize = m_chatPane->textSize();
    s.textColour = m_chatPane->textColour();
    s.actionColour = m_chatPane->actionColour();
    // Without the start-game window its keys keep what the file holds.
    s.start.reset();
    if (const auto *form = qobject_cast<const Tgamestartform *>(m_windows.gameStart)) {
        const protocol::GameOptions chosen = form->chosenOptions();
        s.start = StoredStartOptions{chosen.playTo, chosen.timePerTurn, chosen.zwonkedAt,
                                     chosen.newTiles, chosen.fast, chosen.typing};
    }
    s.playSounds = m_menus->playSounds()->isChecked();
    s.turnOff0 = m_menus->turnOff0()->isChecked();
    s.twoRows = m_menus->twoRows()->isChecked();
    s.newTurnSound = m_newTurnSound;
    s.chatterSounds = m_menus->playChatter()->isChecked();
    return s;
}

void Tchat::saveinifile()
{
    // Before the settings were loaded the options hold the window's initial
    // values; writing them would overwrite what the player chose last time.
    if (!m_settingsLoaded)
        return;
    writeSettings(currentBounds());
}

void Tchat::writeSettings(const WindowBounds &bounds)
{
    QString error;
    if (!SettingsFile(settingsPath()).save(collectSettings(bounds), &error))
        reportError(error);
}

void Tchat::storePhrases(const QStringList &phrases)
{
    QString error;
    if (!SettingsFile(settingsPath()).savePhrases(phrases, &error))
        reportError(error);
}

void Tchat::FormClose()
{
    if (!m_settingsLoaded)
        return;
    WindowBounds bounds = currentBounds();
    if (bounds == m_rememberedBounds)
        return;
    // A window larger than the work area (a maximised one) is stored a
    // little smaller, once.
    if (const QScreen *area = screen()) {
        const QRect work = area->availableGeometry();
        const QRect frame = frameGeometry();
        if (frame.width() > work.width())
            bounds.width -= 15;
        if (frame.height() > work.height())
            bounds.height -= 15;
    }
    m_rememberedBounds = bounds;
    writeSettings(bounds);
}

void Tchat::ResetScreenLocation1Click()
{
    if (isMaximized() || isFullScreen())
        showNormal();
    move(windowsize::ResetLeft, windowsize::ResetTop);
    resize(windowsize::DefaultWidth, windowsize::DefaultHeight);
}

// The window never gets smaller than the board panel and a margin.
void Tchat::applyMinimumSize()
{
    QWidget *central = centralWidget();
    if (!central || !m_mainPanel)
        return;
    central->setMinimumSize(std::max(central->minimumWidth(), windowsize::MainPanelWidth + 10),
                            std::max(central->minimumHeight(), windowsize::MainPanelHeight + 12));
}

} // namespace zwonky
