#include "tally/tallylistform.h"
#include "windows/controlnames.h"

#include "net/fieldcursor.h"
#include "net/protocol.h"
#include "widgets/artwork.h"
#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/textcolour.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>

#include <limits>
#include <utility>

namespace zwonky {

namespace {

constexpr int Columns = 9;
const QString Mine = QStringLiteral("addtomine");
const QString Waiting = QStringLiteral("<Waiting>");

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, bool bold = false)
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    setTextColour(label, QColor(0x1e, 0x1e, 0x1e));
    return label;
}

QListWidget *makeList(QWidget *parent, const QString &name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setStyleSheet(QStringLiteral(
        "QListWidget { background: #fdf8ec; border: 1px solid #c8b286; border-radius: 6px;"
        " padding: 2px; color: #1e1e1e; }"
        "QListWidget::item { padding: 2px 4px; }"));
    return list;
}

FlatPanel *makePanel(QWidget *parent, const QString &name)
{
    auto *panel = new FlatPanel(parent);
    panel->setObjectName(name);
    return panel;
}

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

    m_confirm = [this](const QString &question) {
        return QMessageBox::question(this, QStringLiteral("Zwonky"), question,
                                     QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    };
    m_reportError = [](const QString &text) {
        QMessageBox::information(nullptr, QStringLiteral("Zwonky"), text);
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
    if (m_built)
        return;
    m_built = true;
    buildLayout();
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

void Ttallylist::buildLayout()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    // Own totals.
    auto *own = makePanel(this, QStringLiteral("panel_mine"));
    auto *ownGrid = new QGridLayout(own);
    ownGrid->setContentsMargins(12, 8, 12, 8);
    const QString ownCaptions[] = {QStringLiteral("Total Games:"), QStringLiteral("Your Wins"),
                                   QStringLiteral("Highest Game Score:"), QStringLiteral("Highest Turn Score:")};
    for (int i = 0; i < 4; ++i) {
        ownGrid->addWidget(makeLabel(own, {}, ownCaptions[i]), i / 2, (i % 2) * 2);
        QLabel *value = makeLabel(own, QStringLiteral("mylabel_%1").arg(i + 1), QStringLiteral("0"), true);
        m_mylabels.append(value);
        ownGrid->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    outer->addWidget(own);

    // The two lists.
    auto *lists = new QHBoxLayout;
    lists->setSpacing(8);
    const auto addListPanel = [&](const QString &panelName, const QString &caption, const QString &listName) {
        auto *panel = makePanel(this, panelName);
        auto *column = new QVBoxLayout(panel);
        column->setContentsMargins(8, 6, 8, 8);
        column->addWidget(makeLabel(panel, {}, caption, true));
        QListWidget *list = makeList(panel, listName);
        list->setMinimumSize(150, 120);
        column->addWidget(list);
        lists->addWidget(panel);
        return list;
    };
    m_listboxTally = addListPanel(QStringLiteral("panel_tallied"), QStringLiteral("Players Being Tallied"),
                                  QStringLiteral("listbox_tally"));
    m_checklist = addListPanel(QStringLiteral("panel_ingame"), QStringLiteral("Players In Current Game"),
                               QStringLiteral("checklist"));
    outer->addLayout(lists);

    // The record of the selected opponent.
    auto *record = makePanel(this, QStringLiteral("panel_record"));
    auto *recordGrid = new QGridLayout(record);
    recordGrid->setContentsMargins(12, 8, 12, 8);
    m_hisnametop = makeLabel(record, QStringLiteral("label_hisnametop"), QStringLiteral("Opponent's Tally"), true);
    recordGrid->addWidget(m_hisnametop, 0, 0, 1, 3);
    recordGrid->addWidget(makeLabel(record, {}, QStringLiteral("Total"), true), 1, 1);
    recordGrid->addWidget(makeLabel(record, {}, QStringLiteral("Session"), true), 1, 2);
    m_hisname = makeLabel(record, QStringLiteral("label_hisname"), QStringLiteral("Opponent Wins:"));
    QLabel *rowCaptions[] = {makeLabel(record, {}, QStringLiteral("Number of Games")), m_hisname,
                             makeLabel(record, {}, QStringLiteral("Your Wins:")),
                             makeLabel(record, {}, QStringLiteral("Neither Won:"))};
    for (int i = 0; i < 8; ++i)
        m_labels.append(makeLabel(record, QStringLiteral("label_%1").arg(i + 1), QStringLiteral("0")));
    for (int i = 0; i < 4; ++i) {
        recordGrid->addWidget(rowCaptions[i], i + 2, 0);
        recordGrid->addWidget(m_labels[i], i + 2, 1);
        recordGrid->addWidget(m_labels[i + 4], i + 2, 2);
    }
    outer->addWidget(record);

    auto *buttons = new QHBoxLayout;
    m_reset = new FlatButton(QStringLiteral("Reset Tally"), this);
    m_reset->setObjectName(QStringLiteral("button_reset"));
    m_done = new FlatButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("button_done"));
    buttons->addWidget(m_reset);
    buttons->addStretch();
    buttons->addWidget(m_done);
    outer->addLayout(buttons);

    connect(m_reset, &QPushButton::clicked, this, [this] { button_resetClick(); });
    connect(m_done, &QPushButton::clicked, this, [this] { button_doneClick(); });
    connect(m_checklist, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_updating != 0)
            return;
        // The tick stays as the click left it, even where nothing follows.
        const int index = m_checklist->row(item);
        if (index >= 0 && index < m_players.size())
            m_players[index].ticked = item->checkState() == Qt::Checked;
        checklistClickCheck(index);
    });
    connect(m_listboxTally, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_updating == 0)
            listbox_tallyClickCheck(m_listboxTally->row(item));
    });
    connect(m_listboxTally, &QListWidget::currentRowChanged, this, [this] {
        if (m_updating == 0)
            listbox_tallyClick();
    });
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
    if (!m_built)
        return;
    for (int column = 1; column <= 4; ++column)
        showOwnCell(column);
    ++m_updating;
    m_listboxTally->clear();
    for (int row = 1; row < m_grid.rowCount(); ++row)
        m_listboxTally->addItem(checkedItem(m_grid.cell(0, row), true));
    --m_updating;
}

void Ttallylist::showchecklist()
{
    if (!m_built)
        return;
    ++m_updating;
    m_checklist->clear();
    for (const Player &player : std::as_const(m_players))
        m_checklist->addItem(checkedItem(player.name, player.ticked));
    --m_updating;
}

void Ttallylist::showOwnCell(int column)
{
    if (m_built && column >= 1 && column <= 4)
        m_mylabels[column - 1]->setText(m_grid.cell(column, 0));
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
    if (m_built)
        setChecked(m_checklist, index, ticked);
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
    if (m_built && m_listboxTally->currentRow() >= 0)
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
    if (m_built) {
        ++m_updating;
        m_listboxTally->addItem(checkedItem(name, true));
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
    if (!m_built)
        return;
    QListWidgetItem *item = m_listboxTally->item(index);
    if (!item || item->checkState() == Qt::Checked)
        return;
    const QString name = item->text();
    if (!m_confirm(QStringLiteral("This will delete ") + name
                   + QStringLiteral("'s Tally, Are you want to delete it?"))) {
        setChecked(m_listboxTally, index, true);
        return;
    }
    moverow(index + 1);
    delete m_listboxTally->takeItem(index);
    // The players at the table show who is tallied.
    for (int i = 0; i < m_players.size(); ++i) {
        if (m_players[i].name.compare(name, Qt::CaseInsensitive) == 0)
            tickPlayer(i, false);
    }
}

void Ttallylist::listbox_tallyClick()
{
    // Nothing is selected before the list is made.
    if (!m_built)
        return;
    const int index = m_listboxTally->currentRow();
    if (index < 0 || index >= m_listboxTally->count())
        return;
    const int row = index + 1;
    for (int col = 1; col <= 8; ++col)
        m_labels[col - 1]->setText(m_grid.cell(col, row));
    const QString name = m_grid.cell(0, row);
    m_hisname->setText(name + QStringLiteral(" Wins:"));
    m_hisnametop->setText(name + QStringLiteral("'s Tally"));
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
    for (QLabel *label : std::as_const(m_labels))
        label->setText(QStringLiteral("0"));
    for (int i = 0; i < m_players.size(); ++i)
        tickPlayer(i, false);
}

void Ttallylist::button_doneClick()
{
    close();
}

} // namespace zwonky
