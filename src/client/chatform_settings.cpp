#include "client/chatform.h"

#include "client/chatpane.h"
#include "client/colortext.h"
#include "client/inifile.h"
#include "client/windowbounds.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextEdit>

#include <algorithm>
#include <climits>
#include <optional>

namespace zwonky {

namespace {

const QString SettingsFileName = QStringLiteral("pellixlobby.ini");
const QString Section = QStringLiteral("zwonky");
const QString True = QStringLiteral("true");
const QString False = QStringLiteral("false");

// Bounds after "Reset Screen Location" and without a settings file.
constexpr int ResetLeft = 3;
constexpr int ResetTop = 3;
constexpr int DefaultWidth = 795;
constexpr int DefaultHeight = 568;
constexpr int DefaultTextSize = 8;
// A font size a hand-edited file cannot turn into a hang of the log.
constexpr int LargestTextSize = 96;
constexpr int PhraseKeys = 9;

// Integers of the file: decimal, "$" + hex or "0x" + hex.
std::optional<int> readInteger(const QString &text)
{
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(QLatin1Char('$')))
        value = text.mid(1).toLongLong(&ok, 16);
    else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    if (!ok || text.isEmpty() || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return int(value);
}

int integerOr(const IniFile &ini, const QString &key, int defaultValue)
{
    return readInteger(ini.readString(Section, key)).value_or(defaultValue);
}

QString switchText(bool on) { return on ? True : False; }

} // namespace

QString Tchat::settingsPath() const
{
    QString folder = m_settingsFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                : m_settingsFolder;
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isWritable()) {
        // An installed program's folder is often closed to its users.
        const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        if (!own.isEmpty() && QDir().mkpath(own))
            folder = own;
    }
    return QDir(folder).filePath(SettingsFileName);
}

QRect Tchat::currentBounds() const { return QRect(x(), y(), width(), height()); }

void Tchat::loadinifile()
{
    IniFile ini(settingsPath());
    ini.load();

    // Placement, all four at once, held to the screen the stored position
    // lies on: a hand-edited file must not build a window of 100000 pixels.
    const int top = integerOr(ini, QStringLiteral("Top"), ResetTop);
    const int left = integerOr(ini, QStringLiteral("Left"), ResetLeft);
    const int width = integerOr(ini, QStringLiteral("Width"), DefaultWidth);
    const int height = integerOr(ini, QStringLiteral("Height"), DefaultHeight);
    const QScreen *target = QGuiApplication::screenAt(QPoint(left, top));
    if (!target)
        target = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect available = target ? target->availableGeometry()
                                   : QRect(ResetLeft, ResetTop, DefaultWidth, DefaultHeight);
    m_rememberedBounds = boundsOnScreen(left, top, width, height, available,
                                        minimumSizeHint().expandedTo(minimumSize()));
    move(m_rememberedBounds.topLeft());
    resize(m_rememberedBounds.size());

    const int textSize = integerOr(ini, QStringLiteral("Textsize"), DefaultTextSize);
    m_chatPane->setTextSize(std::clamp(textSize, 1, LargestTextSize));
    for (QAction *size : m_textSizes) {
        if (size)
            size->setChecked(size->property("tag").toInt() == textSize);
    }

    const auto colour = [&ini](const QString &key) {
        return textToColor(ini.readString(Section, key, QStringLiteral("clblack")))
            .value_or(ColourBlack);
    };
    m_chatPane->setTextColour(colour(QStringLiteral("Textcolor")));
    m_chatPane->setActionColour(colour(QStringLiteral("Actioncolor")));

    // The start-game window: numbers held to each box's range; a value that
    // is empty or not a number leaves the box as it is.
    QWidget *form = m_windows.gameStart;
    const auto loadBox = [&ini, form](const char *name, const QString &key,
                                      const QString &defaultValue) {
        auto *box = form ? form->findChild<QSpinBox *>(QLatin1String(name)) : nullptr;
        const QString value = ini.readString(Section, key, defaultValue);
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok, 10);
        if (!box || value.isEmpty() || !ok)
            return;
        box->setValue(int(std::clamp<qlonglong>(number, box->minimum(), box->maximum())));
    };
    loadBox("playtoscore", QStringLiteral("Playtoscore"), QStringLiteral("5000"));
    loadBox("timeperturn", QStringLiteral("Timeperturn"), QStringLiteral("60"));
    loadBox("zwonked", QStringLiteral("Zwonkedat"), QStringLiteral("2000"));

    // Switches: each names the one exact text that decides it.
    const auto value = [&ini](const char *key, const QString &defaultValue) {
        return ini.readString(Section, QLatin1String(key), defaultValue);
    };
    const auto setBox = [form](const char *name, bool on) {
        if (auto *box = form ? form->findChild<QCheckBox *>(QLatin1String(name)) : nullptr)
            box->setChecked(on);
    };
    setBox("new", value("Newtiles", True) != False);
    setBox("fast", value("Fastgame", True) != False);
    setBox("typing", value("Typing", True) == True);

    for (int k = 1; k <= PhraseKeys; ++k) {
        const QString text = ini.readString(Section, QStringLiteral("Phrase%1").arg(k));
        if (!text.isEmpty())
            m_chatPane->setPhrase(k, text);
    }

    if (m_playSounds)
        m_playSounds->setChecked(value("Playsounds", True) != False);
    if (m_turnOff0)
        m_turnOff0->setChecked(value("Turnoff0key", False) == True);
    if (m_twoRows) {
        const bool twoRows = value("Tworows", False) == True;
        if (m_twoRows->isChecked() != twoRows) {
            m_twoRows->setChecked(twoRows);
            movetiles();
        }
    }
    const bool newSound = value("Turnsound", QStringLiteral("0")) == QLatin1String("1");
    if (m_turnSoundMenu)
        m_turnSoundMenu->setProperty("tag", newSound ? 1 : 0);
    if (m_classic)
        m_classic->setChecked(!newSound);
    if (m_newSound)
        m_newSound->setChecked(newSound);
    if (m_playChatter)
        m_playChatter->setChecked(value("ChatterSounds", True) != False);

    m_settingsLoaded = true;
}

void Tchat::saveinifile()
{
    // Before the settings were loaded the options hold the window's initial
    // values; writing them would overwrite what the player chose last time.
    if (!m_settingsLoaded)
        return;
    writeSettings(currentBounds());
}

void Tchat::writeSettings(const QRect &bounds)
{
    IniFile ini(settingsPath());
    ini.load();
    const auto put = [&ini](const char *key, const QString &value) {
        ini.writeString(Section, QLatin1String(key), value);
    };
    put("Top", QString::number(bounds.y()));
    put("Left", QString::number(bounds.x()));
    put("Width", QString::number(bounds.width()));
    put("Height", QString::number(bounds.height()));
    put("Textsize", QString::number(m_chatPane->textSize()));
    put("Textcolor", colorToText(m_chatPane->textColour()));
    put("Actioncolor", colorToText(m_chatPane->actionColour()));

    // Without the start-game window its keys keep what the file holds.
    QWidget *form = m_windows.gameStart;
    const auto putBox = [&put, form](const char *key, const char *name) {
        if (const auto *box = form ? form->findChild<QSpinBox *>(QLatin1String(name)) : nullptr)
            put(key, box->text());
    };
    const auto putCheck = [&put, form](const char *key, const char *name) {
        if (const auto *box = form ? form->findChild<QCheckBox *>(QLatin1String(name)) : nullptr)
            put(key, switchText(box->isChecked()));
    };
    putBox("Playtoscore", "playtoscore");
    putBox("Timeperturn", "timeperturn");
    putBox("Zwonkedat", "zwonked");
    putCheck("Newtiles", "new");
    putCheck("Fastgame", "fast");
    putCheck("Typing", "typing");

    const auto putAction = [&put](const char *key, const QAction *action) {
        if (action)
            put(key, switchText(action->isChecked()));
    };
    putAction("Playsounds", m_playSounds);
    putAction("Turnoff0key", m_turnOff0);
    putAction("Tworows", m_twoRows);
    put("Turnsound", QString::number(m_turnSoundMenu ? m_turnSoundMenu->property("tag").toInt() : 0));
    putAction("ChatterSounds", m_playChatter);

    QString error;
    if (!ini.save(&error))
        reportError(error);
}

void Tchat::storePhrases(const QStringList &phrases)
{
    IniFile ini(settingsPath());
    ini.load();
    for (int k = 1; k <= PhraseKeys; ++k)
        ini.writeString(Section, QStringLiteral("Phrase%1").arg(k),
                        k <= phrases.size() ? phrases.at(k - 1) : QString());
    QString error;
    if (!ini.save(&error))
        reportError(error);
}

void Tchat::FormClose()
{
    if (!m_settingsLoaded)
        return;
    QRect bounds = currentBounds();
    if (bounds == m_rememberedBounds)
        return;
    // A window larger than the work area (a maximised one) is stored a
    // little smaller, once.
    if (const QScreen *area = screen()) {
        const QRect work = area->availableGeometry();
        const QRect frame = frameGeometry();
        if (frame.width() > work.width())
            bounds.setWidth(bounds.width() - 15);
        if (frame.height() > work.height())
            bounds.setHeight(bounds.height() - 15);
    }
    m_rememberedBounds = bounds;
    writeSettings(bounds);
}

void Tchat::ResetScreenLocation1Click()
{
    if (isMaximized() || isFullScreen())
        showNormal();
    move(ResetLeft, ResetTop);
    resize(DefaultWidth, DefaultHeight);
}

// The window never gets smaller than the board panel and a margin.
void Tchat::applyMinimumSize()
{
    QWidget *central = centralWidget();
    if (!central || !m_mainPanel)
        return;
    central->setMinimumSize(std::max(central->minimumWidth(), m_mainPanel->width() + 10),
                            std::max(central->minimumHeight(), m_mainPanel->height() + 12));
}

} // namespace zwonky
