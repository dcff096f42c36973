#include "tally/tallylistform.h"
#include "tally/tallylistform_controls.h"
#include "windows/controlnames.h"

#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "widgets/plaintext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

#include <limits>
#include <utility>

namespace zwonky {

namespace {

constexpr int Columns = 9;
const QString Mine = QStringLiteral("addtomine");
const QString Waiting = QStringLiteral("<Waiting>");

QListWidgetItem *checkedItem(const QString &text, bool checked)
{
    auto *item = new QListWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

int toNumber(const QString &text, int fallback)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

Ttallylist::Ttallylist(QWidget *parent) : TiledBackground(parent), m_grid(Columns, 1)
{
    setObjectName(QStringLiteral("tallylist"));
    setWindowTitle(QStringLiteral("Zwonky - Tally List"));
    setWindowFlags(Qt::Window);
    for (int col = 0; col < Columns; ++col)
        m_grid.setCell(col, 0, QStringLiteral("0"));

    // The questions name players as they called themselves: plain text.
    m_confirm = [this](const QString &question) {
        return plaintext::box(QMessageBox::Question, QStringLiteral("Zwonky"), question,
                              QMessageBox::Yes | QMessageBox::No, this)
                   ->exec()
            == QMessageBox::Yes;
    };
    m_reportError = [](const QString &text) {
        plaintext::box(QMessageBox::Information, QStringLiteral("Zwonky"), text, QMessageBox::Ok, nullptr)
            ->exec();
    };
}

Ttallylist::~Ttallylist()
{
    // The end of the run: write back what was loaded at its start, unless
    // the file already holds this very grid (saved on the way out). Nothing
    // may run in between while the window is going away.
    if (m_loaded && !(m_written && *m_written == m_grid))
        writeTallyFile(false);
}

QString Ttallylist::defaultTallyFolder()
{
    return TallyFile::defaultFolder();
}

void Ttallylist::setTallyFolder(const QString &folder)
{
    m_file.setFolder(folder);
}

QString Ttallylist::tallyFilePath() const
{
    return m_file.path();
}

void Ttallylist::ensureBuilt()
{
    if (m_ui)
        return;
    m_ui = std::make_unique<TallyListControls>(this);
    connect(m_ui->reset, &QPushButton::clicked, this, [this] { button_resetClick(); });
    connect(m_ui->done, &QPushButton::clicked, this, [this] { button_doneClick(); });
    connect(m_ui->checklist, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_updating != 0)
            return;
        // The tick stays as the click left it, even where nothing follows.
        const int index = m_ui->checklist->row(item);
        if (index >= 0 && index < m_players.size())
            m_players[index].ticked = item->checkState() == Qt::Checked;
        checklistClickCheck(index);
    });
    connect(m_ui->listboxTally, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_updating == 0)
            listbox_tallyClickCheck(m_ui->listboxTally->row(item));
    });
    connect(m_ui->listboxTally, &QListWidget::currentRowChanged, this, [this] {
        if (m_updating == 0)
            listbox_tallyClick();
    });
    // Names for screen readers, once every control is made.
    nameControls(this);
    showtally();
    showchecklist();
}

void Ttallylist::setVisible(bool visible)
{
    // The controls are made only for a player who opens the tally.
    if (visible)
        ensureBuilt();
    TiledBackground::setVisible(visible);
}

// ---- the tally file -------------------------------------------------------

bool Ttallylist::loadtally()
{
    m_loaded = true;
    m_grid = StringGrid(Columns, 1);
    for (int col = 0; col < Columns; ++col)
        m_grid.setCell(col, 0, QStringLiteral("0"));

    const QString path = m_file.sourcePath();
    bool ok = true;
    if (QFile::exists(path)) {
        QString error;
        ok = m_file.read(path, Columns, &m_grid, &error);
        if (!ok) {
            m_file.keepBadCopy(path);
            report(error);
        }
    }
    // This run's counters start at 0.
    for (int row = 1; row < m_grid.rowCount(); ++row) {
        for (int col = 5; col <= 8; ++col)
            m_grid.setCell(col, row, QStringLiteral("0"));
    }
    showtally();
    return ok;
}

bool Ttallylist::savetally()
{
    if (m_saving)
        return false;  // a save is under way further up
    if (writeTallyFile(true))
        return true;
    // The same notice as for a settings file that cannot be written.
    report(QStringLiteral("Unable to write to %1")
               .arg(QDir::toNativeSeparators(QFileInfo(tallyFilePath()).absoluteFilePath())));
    return false;
}

bool Ttallylist::writeTallyFile(bool letEventsRun)
{
    if (m_saving)
        return false;
    m_saving = true;
    const StringGrid written = m_grid;
    const bool ok = m_file.write(written, letEventsRun);
    m_saving = false;
    if (ok)
        m_written = written;
    return ok;
}

// ---- what the window shows ------------------------------------------------

// Each shows what the grid or the list of players holds now; nothing before
// the controls are made.
void Ttallylist::showtally()
{
    if (!m_ui)
        return;
    for (int column = 1; column <= 4; ++column)
        showOwnCell(column);
    ++m_updating;
    m_ui->listboxTally->clear();
    for (int row = 1; row < m_grid.rowCount(); ++row)
        m_ui->listboxTally->addItem(checkedItem(m_grid.cell(0, row), true));
    --m_updating;
}

void Ttallylist::showchecklist()
{
    if (!m_ui)
        return;
    ++m_updating;
    m_ui->checklist->clear();
    for (const Player &player : std::as_const(m_players))
        m_ui->checklist->addItem(checkedItem(player.name, player.ticked));
    --m_updating;
}

void Ttallylist::showOwnCell(int column)
{
    if (m_ui && column >= 1 && column <= 4)
        m_ui->mylabels[column - 1]->setText(m_grid.cell(column, 0));
}

int Ttallylist::tallyRowOf(const QString &name) const
{
    // The opponents' rows are "Players Being Tallied", in the same order.
    for (int row = 1; row < m_grid.rowCount(); ++row) {
        if (m_grid.cell(0, row).compare(name, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

void Ttallylist::setChecked(QListWidget *list, int index, bool checked)
{
    ++m_updating;
    if (QListWidgetItem *item = list->item(index))
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    --m_updating;
}

void Ttallylist::tickPlayer(int index, bool ticked)
{
    if (index < 0 || index >= m_players.size())
        return;
    m_players[index].ticked = ticked;
    if (m_ui)
        setChecked(m_ui->checklist, index, ticked);
}

void Ttallylist::report(const QString &text) const
{
    if (m_reportError)
        m_reportError(text);
}

// ---- TallyRecorder --------------------------------------------------------

void Ttallylist::addgame(const QString &winner)
{
    // A team's win is recorded nowhere, not even as a game.
    if (protocol::isTeamWinner(winner))
        return;
    if (m_boardNames)
        loadchecklist(m_boardNames());
    addtomine(1);
    if (winner == Mine)
        addtomine(2);
    for (const Player &player : std::as_const(m_players)) {
        const int row = tallyRowOf(player.name);
        if (row < 1)
            continue;
        for (int col = 1; col <= 8; ++col) {
            if (m_grid.cell(col, row).isEmpty())
                m_grid.setCell(col, row, QStringLiteral("0"));
        }
        addit(1, row);
        addit(5, row);
        if (m_grid.cell(0, row) == winner) {
            addit(2, row);
            addit(6, row);
        } else if (winner == Mine) {
            addit(3, row);
            addit(7, row);
        } else {
            addit(4, row);
            addit(8, row);
        }
    }
    if (m_ui && m_ui->listboxTally->currentRow() >= 0)
        listbox_tallyClick();
}

void Ttallylist::addscore(int column, int value)
{
    if (column < 1 || column > 4)
        return;
    m_grid.setCell(column, 0, QString::number(value));
    showOwnCell(column);
}

int Ttallylist::highestGameScore() const
{
    // The own row of the grid holds the records the labels show. Anything
    // that is not a number is no record: every score beats it.
    return toNumber(m_grid.cell(3, 0), std::numeric_limits<int>::min());
}

int Ttallylist::highestTurnScore() const
{
    return toNumber(m_grid.cell(4, 0), std::numeric_limits<int>::min());
}

void Ttallylist::loadchecklist(const QStringList &boardNames)
{
    m_players.clear();
    for (const QString &name : boardNames) {
        if (name != Waiting)
            m_players.append({name, tallyRowOf(name) > 0});
    }
    showchecklist();
}

void Ttallylist::addtomine(int column)
{
    addit(column, 0);
    showOwnCell(column);
}

int Ttallylist::addit(int column, int row)
{
    const int value = FieldCursor::toInt(m_grid.cell(column, row));
    const int next = value == std::numeric_limits<int>::max() ? value : value + 1;
    m_grid.setCell(column, row, QString::number(next));
    return next;
}

void Ttallylist::moverow(int row)
{
    // Row 0 is the own row; it never moves.
    if (row < 1 || row >= m_grid.rowCount())
        return;
    for (int r = row; r < m_grid.rowCount() - 1; ++r) {
        for (int col = 0; col < m_grid.colCount(); ++col)
            m_grid.setCell(col, r, m_grid.cell(col, r + 1));
    }
    m_grid.setRowCount(qMax(1, m_grid.rowCount() - 1));
}

// ---- window events --------------------------------------------------------

void Ttallylist::checklistClickCheck(int index)
{
    if (index < 0 || index >= m_players.size())
        return;
    const QString name = m_players[index].name;
    // Already tallied: nothing happens, whatever the click did to the mark.
    if (tallyRowOf(name) > 0)
        return;
    if (m_ui) {
        ++m_updating;
        m_ui->listboxTally->addItem(checkedItem(name, true));
        --m_updating;
    }
    const int row = m_grid.rowCount();
    m_grid.setRowCount(row + 1);
    m_grid.setCell(0, row, name);
    for (int col = 1; col <= 8; ++col)
        m_grid.setCell(col, row, QStringLiteral("0"));
    tickPlayer(index, true);
}

void Ttallylist::listbox_tallyClickCheck(int index)
{
    // Every tallied name is ticked until a click in the list unticks it.
    if (!m_ui)
        return;
    QListWidgetItem *item = m_ui->listboxTally->item(index);
    if (!item || item->checkState() == Qt::Checked)
        return;
    const QString name = item->text();
    if (!m_confirm(QStringLiteral("This will delete ") + name
                   + QStringLiteral("'s Tally, Are you want to delete it?"))) {
        setChecked(m_ui->listboxTally, index, true);
        return;
    }
    moverow(index + 1);
    delete m_ui->listboxTally->takeItem(index);
    // The players at the table show who is tallied.
    for (int i = 0; i < m_players.size(); ++i) {
        if (m_players[i].name.compare(name, Qt::CaseInsensitive) == 0)
            tickPlayer(i, false);
    }
}

void Ttallylist::listbox_tallyClick()
{
    // Nothing is selected before the list is made.
    if (!m_ui)
        return;
    const int index = m_ui->listboxTally->currentRow();
    if (index < 0 || index >= m_ui->listboxTally->count())
        return;
    const int row = index + 1;
    for (int col = 1; col <= 8; ++col)
        m_ui->labels[col - 1]->setText(m_grid.cell(col, row));
    const QString name = m_grid.cell(0, row);
    m_ui->hisname->setText(name + QStringLiteral(" Wins:"));
    m_ui->hisnametop->setText(name + QStringLiteral("'s Tally"));
}

void Ttallylist::button_resetClick()
{
    if (!m_confirm(QStringLiteral("Are you sure you want to reset the Tally?")))
        return;
    for (int row = 0; row < m_grid.rowCount(); ++row)
        for (int col = 0; col < m_grid.colCount(); ++col)
            m_grid.setCell(col, row, QStringLiteral("0"));
    m_grid.setRowCount(1);
    showtally();
    for (QLabel *label : std::as_const(m_ui->labels))
        label->setText(QStringLiteral("0"));
    for (int i = 0; i < m_players.size(); ++i)
        tickPlayer(i, false);
}

void Ttallylist::button_doneClick()
{
    close();
}

} // namespace zwonky
