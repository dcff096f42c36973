#include "windows/controlnames.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

namespace zwonky {

namespace {

struct Naming
{
    QString window;   // class name without its namespace
    QString control;  // objectName
    QString name;     // empty: the control's own caption
    QString description;
};

void addRows(QList<Naming> &table)
{
    for (int seat = 1; seat <= 6; ++seat) {
        const QString n = QString::number(seat);
        table << Naming{"Tchat", "label_playername" + n, {}, "Player at seat " + n}
              << Naming{"Tchat", "label_score" + n, {}, "Score of seat " + n}
              << Naming{"Tchat", "label_bonus" + n, {}, "Last turn's result of seat " + n}
              << Naming{"Tchat", "image_eyes" + n, "Seat " + n + " is just watching", {}}
              << Naming{"Tchat", "image_new" + n, "Seat " + n + " bought new tiles", {}}
              << Naming{"Tchat", "label_name" + n, {}, "Player at seat " + n}
              << Naming{"Tchat", "label_count" + n, {}, "Words of seat " + n}
              << Naming{"Tchat", "label_wscore" + n, {}, "Turn points of seat " + n}
              << Naming{"Tchat", "listbox_words" + n, "Words of seat " + n, "This turn's words, longest first"};
    }
    for (int length = 3; length <= 10; ++length) {
        const QString n = QString::number(length);
        table << Naming{"Tchat", "list_" + n, n + "-letter words", "The turn's accepted words of " + n + " letters"}
              << Naming{"Tchat", "label_memo" + n, {}, "Points of the " + n + "-letter words"};
    }
    for (int k = 1; k <= 9; ++k) {
        const QString n = QString::number(k);
        table << Naming{"Tchat", "b_phrase" + n, {}, "Says this phrase to the table"}
              << Naming{"Tphrases", "phrase" + n, "Phrase " + n, "The text of phrase button " + n};
    }
    for (int page = 1; page <= 8; ++page) {
        const QString n = QString::number(page);
        table << Naming{"Thelp", "SelButton" + n, {}, "Shows this help page"}
              << Naming{"Thelp", "memo" + n, "Help page " + n, "The text of the help page"};
    }
}

const QList<Naming> &table()
{
    static const QList<Naming> names = [] {
        QList<Naming> t{
            {"Tchat", "image_logo", "Zwonky", "Opens the maker's web page"},
            {"Tchat", "image_Turn", "Turn marker", "Points at the player whose turn it is"},
            {"Tchat", "button_start", "Start Game", "Choose the options and start a new game"},
            {"Tchat", "label_team", {}, "Team game"},
            {"Tchat", "image_timer", "Time bar", "Shrinks as the turn's time runs out"},
            {"Tchat", "label_time", {}, "Time left in this turn"},
            {"Tchat", "label_turn", {}, "Whose turn it is"},
            {"Tchat", "label_status", {}, "The last verdict on a word"},
            {"Tchat", "panel_winner", {}, "The winner of the game"},
            {"Tchat", "memo_ending", {}, "The last turn's result"},
            {"Tchat", "label_thesum", {}, "Points of this turn's words"},
            {"Tchat", "mainchat", "Chat", "What the players said"},
            {"Tchat", "mychat", "Chat entry", "Type a line and press Enter to send it"},
            {"Tchat", "b_phrase10", {}, "Plays a chatter sound to the table"},
            {"Tchat", "button_close", "Close word lists", "Hides the word lists of the turn"},
            {"Ttallylist", "listbox_tally", "Tally", "Your results against your opponents"},
            {"Ttallylist", "checklist", "Opponents", "The players whose results are kept"},
            {"Ttallylist", "button_reset", {}, "Clears the whole tally"},
            {"Ttallylist", "button_done", {}, "Closes the tally"},
            {"Tabout", "Image1", "Zwonky", "The game's picture"},
            {"Tabout", "Button1", {}, "Closes this window"},
            {"Tdownload", "image_lobby", "Lobby", "The lobby program's picture"},
            {"Tdownload", "infolabel", {}, "About the lobby program"},
            {"Tdownload", "infolabel2", {}, "About the lobby program"},
            {"Tdownload", "infolabel3", {}, "About the lobby program"},
            {"Tdownload", "getbutton", {}, "Downloads the lobby program"},
            {"Tdownload", "abortbutton", {}, "Stops the download"},
            {"Tdownload", "Button1", {}, "Plays a game on your own"},
            {"Tdownload", "Button2", {}, "Starts the lobby to play with others"},
            {"Tgamestartform", "playtoscore", "Play to Score", "The score that wins the game"},
            {"Tgamestartform", "timeperturn", "Time Per Turn", "Seconds in each turn"},
            {"Tgamestartform", "zwonked", "Zwonked At", "The score from which a player gets 13 letters"},
            {"Tgamestartform", "new", {}, "Players may buy new tiles for 300 points"},
            {"Tgamestartform", "typing", {}, "Players may lay tiles by typing"},
            {"Tgamestartform", "fast", {}, "Every player plays the same letters at once"},
            {"Tgamestartform", "team", {}, "Seats play in pairs"},
            {"Tgamestartform", "Image1", "Start", "Starts the game with these options"},
            {"Tgamestartform", "computerplayers", "Computer Players",
             "How many computer players join before the game starts"},
            {"Tgamestartform", "computerlevel", "Computer Level",
             "How well the computer players play, from Beginner to Expert"},
            {"Tspylist", "listbox_spys", "Spies", "The spectators watching the game"},
            {"Tspylist", "Button1", {}, "Closes the spy list"},
            {"Thelp", "button_about", {}, "Shows the about window"},
            {"Thelp", "button_done", {}, "Closes the help"},
            {"Tphrases", "SelButton8", {}, "Stores the phrases"},
        };
        addRows(t);
        return t;
    }();
    return names;
}

QString bareClassName(const QWidget *window)
{
    QString name = QString::fromLatin1(window->metaObject()->className());
    return name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
}

} // namespace

void nameControls(QWidget *window)
{
    nameControls(window, window);
}

void nameControls(QWidget *window, QWidget *part)
{
    if (!window || !part)
        return;
    const QString windowClass = bareClassName(window);
    QHash<QString, const Naming *> rows;
    for (const Naming &n : table()) {
        if (n.window == windowClass)
            rows.insert(n.control, &n);
    }
    if (rows.isEmpty())
        return;
    // One walk over the controls: a main window holds hundreds.
    const QList<QWidget *> controls = part->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        const QString objectName = control->objectName();
        if (objectName.isEmpty())
            continue;
        const Naming *n = rows.value(objectName);
        if (!n)
            continue;
        if (!n->name.isEmpty())
            control->setAccessibleName(n->name);
        if (!n->description.isEmpty())
            control->setAccessibleDescription(n->description);
    }
}

} // namespace zwonky
