#pragma once

#include "tally/pellixstrgrid.h"
#include "tally/tallyfile.h"
#include "tally/tallyrecorder.h"
#include "widgets/tiledbackground.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QListWidget;

namespace zwonky {

struct TallyListControls;

// "Zwonky - Tally List": the player's own totals and his records against the
// opponents he chose to tally, all time and for this run ("Session").
//
// The data is a grid of text cells (`stringgrid_scores`): row 0 holds the own
// totals (column 1 games, 2 wins, 3 highest game score, 4 highest turn
// score); each further row one opponent (column 0 name; 1-4 games together,
// his wins, own wins, neither won, all time; 5-8 the same for this run).
// Row i + 1 belongs to item i of "Players Being Tallied".
//
// The grid lives in "zwonkytally.tld" (grid text, LZRW1 container) in the
// tally folder: loadtally() reads it at start, savetally() writes it back,
// and the destructor saves too once the tally was loaded, unless the file
// already holds the grid as it is.
//
// The tally is kept in the grid and the list of players at the table, so
// that it is loaded, counted and saved for a player who never opens the
// window: the controls are made when the window is first shown
// (ensureBuilt) and show the tally as it is then.
class Ttallylist : public TiledBackground, public TallyRecorder
{
    Q_OBJECT
public:
    static inline const QString FileName = TallyFile::FileName;
    static inline const QString BadFileSuffix = TallyFile::BadFileSuffix;

    using Confirmer = std::function<bool(const QString &question)>;
    using ErrorReporter = std::function<void(const QString &text)>;
    using BoardNames = std::function<QStringList()>;

    explicit Ttallylist(QWidget *parent = nullptr);
    ~Ttallylist() override;

    // Makes the controls and fills them from the tally, once.
    void ensureBuilt();
    void setVisible(bool visible) override;

    // The folder beside the program file, or the per-user application-data
    // folder when that one is not writable.
    static QString defaultTallyFolder();
    void setTallyFolder(const QString &folder);
    QString tallyFolder() const { return m_file.folder(); }
    QString tallyFilePath() const;

    // Yes/No questions (default: a message box); true means Yes.
    void setConfirmer(Confirmer confirmer) { m_confirm = std::move(confirmer); }
    // The standard error report (default: a message box).
    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }
    // The board's name captions as loadchecklist takes them; addgame reads
    // them first so that the record matches the table at the game's end.
    void setBoardNamesSource(BoardNames source) { m_boardNames = std::move(source); }

    // Start: an empty own row, then the tally file if there is one, then
    // the window filled from the grid with the session columns at 0. A file
    // that cannot be read is reported, kept as "zwonkytally.tld.bad", and
    // the tally starts empty. Returns false in that case.
    bool loadtally();
    // Writes the tally file, replacing the old one only when the new one is
    // complete. A failure (a full disk) leaves the old file as it was and is
    // reported as "Unable to write to <path>"; returns false then.
    bool savetally();

    // ---- TallyRecorder ----
    // Throws ZwonkyError when a counter it increments is not a number.
    void addgame(const QString &winner) override;
    void addscore(int column, int value) override;
    int highestGameScore() const override;
    int highestTurnScore() const override;
    void loadchecklist(const QStringList &boardNames) override;

    void addtomine(int column);
    // Adds 1 to a counter cell and returns the new value; throws ZwonkyError
    // when the cell does not hold a number.
    int addit(int column, int row);
    void moverow(int row);

    // ---- window events ----
    void checklistClickCheck(int index);
    void listbox_tallyClickCheck(int index);
    void listbox_tallyClick();
    void button_resetClick();
    void button_doneClick();

    const StringGrid &grid() const { return m_grid; }

private:
    // One name of "Players In Current Game" and its tick.
    struct Player {
        QString name;
        bool ticked = false;
    };

    void showtally();
    void showchecklist();
    bool writeTallyFile(bool letEventsRun);
    int tallyRowOf(const QString &name) const;
    void setChecked(QListWidget *list, int index, bool checked);
    void tickPlayer(int index, bool ticked);
    void showOwnCell(int column);
    void report(const QString &text) const;

    StringGrid m_grid;               // `stringgrid_scores`
    TallyFile m_file;
    std::optional<StringGrid> m_written;  // what the file holds since our last write
    bool m_loaded = false;
    bool m_saving = false;
    int m_updating = 0;              // > 0 while the lists are changed by code
    Confirmer m_confirm;
    ErrorReporter m_reportError;
    BoardNames m_boardNames;
    QList<Player> m_players;         // what `checklist` shows
    std::unique_ptr<TallyListControls> m_ui;  // made by ensureBuilt
};

} // namespace zwonky
