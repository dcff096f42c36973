#include "tally/tallylistform_controls.h"

#include "widgets/flatbutton.h"
#include "widgets/flatpanel.h"
#include "widgets/textcolour.h"
#include "widgets/plaintext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace zwonky {

namespace {

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, bool bold = false)
{
    auto *label = new QLabel(parent);
    plaintext::keep(label); // the file's cells, whatever they hold
    label->setText(text);
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

} // namespace

TallyListControls::TallyListControls(QWidget *window)
{
    auto *outer = new QVBoxLayout(window);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);

    // Own totals.
    auto *own = makePanel(window, QStringLiteral("panel_mine"));
    auto *ownGrid = new QGridLayout(own);
    ownGrid->setContentsMargins(12, 8, 12, 8);
    const QString ownCaptions[] = {QStringLiteral("Total Games:"), QStringLiteral("Your Wins"),
                                   QStringLiteral("Highest Game Score:"), QStringLiteral("Highest Turn Score:")};
    for (int i = 0; i < 4; ++i) {
        ownGrid->addWidget(makeLabel(own, {}, ownCaptions[i]), i / 2, (i % 2) * 2);
        QLabel *value = makeLabel(own, QStringLiteral("mylabel_%1").arg(i + 1), QStringLiteral("0"), true);
        mylabels.append(value);
        ownGrid->addWidget(value, i / 2, (i % 2) * 2 + 1);
    }
    outer->addWidget(own);

    // The two lists.
    auto *lists = new QHBoxLayout;
    lists->setSpacing(8);
    const auto addListPanel = [&](const QString &panelName, const QString &caption, const QString &listName) {
        auto *panel = makePanel(window, panelName);
        auto *column = new QVBoxLayout(panel);
        column->setContentsMargins(8, 6, 8, 8);
        column->addWidget(makeLabel(panel, {}, caption, true));
        QListWidget *list = makeList(panel, listName);
        list->setMinimumSize(150, 120);
        column->addWidget(list);
        lists->addWidget(panel);
        return list;
    };
    listboxTally = addListPanel(QStringLiteral("panel_tallied"), QStringLiteral("Players Being Tallied"),
                                QStringLiteral("listbox_tally"));
    checklist = addListPanel(QStringLiteral("panel_ingame"), QStringLiteral("Players In Current Game"),
                             QStringLiteral("checklist"));
    outer->addLayout(lists);

    // The record of the selected opponent.
    auto *record = makePanel(window, QStringLiteral("panel_record"));
    auto *recordGrid = new QGridLayout(record);
    recordGrid->setContentsMargins(12, 8, 12, 8);
    hisnametop = makeLabel(record, QStringLiteral("label_hisnametop"), QStringLiteral("Opponent's Tally"), true);
    recordGrid->addWidget(hisnametop, 0, 0, 1, 3);
    recordGrid->addWidget(makeLabel(record, {}, QStringLiteral("Total"), true), 1, 1);
    recordGrid->addWidget(makeLabel(record, {}, QStringLiteral("Session"), true), 1, 2);
    hisname = makeLabel(record, QStringLiteral("label_hisname"), QStringLiteral("Opponent Wins:"));
    QLabel *rowCaptions[] = {makeLabel(record, {}, QStringLiteral("Number of Games")), hisname,
                             makeLabel(record, {}, QStringLiteral("Your Wins:")),
                             makeLabel(record, {}, QStringLiteral("Neither Won:"))};
    for (int i = 0; i < 8; ++i)
        labels.append(makeLabel(record, QStringLiteral("label_%1").arg(i + 1), QStringLiteral("0")));
    for (int i = 0; i < 4; ++i) {
        recordGrid->addWidget(rowCaptions[i], i + 2, 0);
        recordGrid->addWidget(labels[i], i + 2, 1);
        recordGrid->addWidget(labels[i + 4], i + 2, 2);
    }
    outer->addWidget(record);

    auto *buttons = new QHBoxLayout;
    reset = new FlatButton(QStringLiteral("Reset Tally"), window);
    reset->setObjectName(QStringLiteral("button_reset"));
    done = new FlatButton(QStringLiteral("Done"), window);
    done->setObjectName(QStringLiteral("button_done"));
    buttons->addWidget(reset);
    buttons->addStretch();
    buttons->addWidget(done);
    outer->addLayout(buttons);
}

} // namespace zwonky
