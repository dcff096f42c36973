#include "client/settingsfile.h"


#include "client/inifile.h"
#include "storage/datafolder.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <climits>

namespace zwonky {

namespace {

const QString SettingsFileName = QStringLiteral("pellixlobby.ini");
const QString Section = QStringLiteral("zwonky");
const QString True = QStringLiteral("true");
const QString False = QStringLiteral("false");

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

// The start window's numbers: decimal only, anything larger than an int
// held to the int range (the window's box holds it to its own).
std::optional<int> readBoxNumber(const QString &text)
{
    bool ok = false;
    const qlonglong number = text.toLongLong(&ok, 10);
    if (text.isEmpty() || !ok)
        return std::nullopt;
    return int(std::clamp<qlonglong>(number, INT_MIN, INT_MAX));
}

QString switchText(bool on) { return on ? True : False; }

QString phraseKey(int k) { return QStringLiteral("Phrase%1").arg(k); }

class Reader
{
public:
    explicit Reader(const IniFile &ini) : m_ini(ini) {}
    QString text(const char *key, const QString &defaultValue = QString()) const
    {
        return m_ini.readString(Section, QLatin1String(key), defaultValue);
    }
    int integer(const char *key, int defaultValue) const
    {
        return readInteger(text(key)).value_or(defaultValue);
    }
    int coordinate(const char *key, int defaultValue) const
    {
        return std::clamp(integer(key, defaultValue), -windowsize::LargestCoordinate,
                          windowsize::LargestCoordinate);
    }
    quint32 colour(const char *key) const
    {
        return textToColor(text(key, QStringLiteral("clblack"))).value_or(ColourBlack);
    }
    // Each switch names the one exact text that decides it.
    bool onUnlessFalse(const char *key) const { return text(key, True) != False; }
    bool onOnlyIfTrue(const char *key, const QString &defaultValue) const
    {
        return text(key, defaultValue) == True;
    }

private:
    const IniFile &m_ini;
};

} // namespace

QString SettingsFile::pathIn(const QString &folder)
{
    const QString preferred = folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
    return QDir(writableDataFolder(preferred)).filePath(SettingsFileName);
}

ClientSettings SettingsFile::load() const
{
    IniFile ini(m_path);
    ini.load();
    const Reader read(ini);

    ClientSettings s;
    s.bounds = WindowBounds{read.coordinate("Left", windowsize::ResetLeft),
                            read.coordinate("Top", windowsize::ResetTop),
                            read.coordinate("Width", windowsize::DefaultWidth),
                            read.coordinate("Height", windowsize::DefaultHeight)};
    s.textSize = read.integer("Textsize", s.textSize);
    s.textColour = read.colour("Textcolor");
    s.actionColour = read.colour("Actioncolor");

    StoredStartOptions start;
    start.playTo = readBoxNumber(read.text("Playtoscore", QStringLiteral("5000")));
    start.timePerTurn = readBoxNumber(read.text("Timeperturn", QStringLiteral("60")));
    start.zwonkedAt = readBoxNumber(read.text("Zwonkedat", QStringLiteral("2000")));
    start.newTiles = read.onUnlessFalse("Newtiles");
    start.fast = read.onUnlessFalse("Fastgame");
    start.typing = read.onOnlyIfTrue("Typing", True);
    s.start = start;

    for (int k = 1; k <= PhraseKeys; ++k)
        s.phrases[std::size_t(k - 1)] = ini.readString(Section, phraseKey(k));

    s.playSounds = read.onUnlessFalse("Playsounds");
    s.turnOff0 = read.onOnlyIfTrue("Turnoff0key", False);
    s.twoRows = read.onOnlyIfTrue("Tworows", False);
    s.newTurnSound = read.text("Turnsound", QStringLiteral("0")) == QLatin1String("1");
    s.chatterSounds = read.onUnlessFalse("ChatterSounds");
    return s;
}

bool SettingsFile::save(const ClientSettings &s, QString *error) const
{
    IniFile ini(m_path);
    ini.load();
    const auto put = [&ini](const char *key, const QString &value) {
        ini.writeString(Section, QLatin1String(key), value);
    };
    put("Top", QString::number(s.bounds.top));
    put("Left", QString::number(s.bounds.left));
    put("Width", QString::number(s.bounds.width));
    put("Height", QString::number(s.bounds.height));
    put("Textsize", QString::number(s.textSize));
    put("Textcolor", colorToText(s.textColour));
    put("Actioncolor", colorToText(s.actionColour));

    if (s.start) {
        const auto putNumber = [&put](const char *key, const std::optional<int> &number) {
            if (number)
                put(key, QString::number(*number));
        };
        putNumber("Playtoscore", s.start->playTo);
        putNumber("Timeperturn", s.start->timePerTurn);
        putNumber("Zwonkedat", s.start->zwonkedAt);
        put("Newtiles", switchText(s.start->newTiles));
        put("Fastgame", switchText(s.start->fast));
        put("Typing", switchText(s.start->typing));
    }

    put("Playsounds", switchText(s.playSounds));
    put("Turnoff0key", switchText(s.turnOff0));
    put("Tworows", switchText(s.twoRows));
    put("Turnsound", QString::number(s.newTurnSound ? 1 : 0));
    put("ChatterSounds", switchText(s.chatterSounds));
    return ini.save(error);
}

bool SettingsFile::savePhrases(const QStringList &phrases, QString *error) const
{
    IniFile ini(m_path);
    ini.load();
    for (int k = 1; k <= PhraseKeys; ++k)
        ini.writeString(Section, phraseKey(k), k <= phrases.size() ? phrases.at(k - 1) : QString());
    return ini.save(error);
}

} // namespace zwonky
