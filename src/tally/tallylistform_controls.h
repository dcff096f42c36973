#pragma once

#include <QList>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace zwonky {

// The tally window's controls, made and laid out in it when it is first
// shown. The window owns them; this only names the ones it fills.
struct TallyListControls
{
    explicit TallyListControls(QWidget *window);

    QList<QLabel *> mylabels;             // `mylabel_1` .. `mylabel_4`
    QList<QLabel *> labels;               // `label_1` .. `label_8`
    QLabel *hisname = nullptr;            // `label_hisname`
    QLabel *hisnametop = nullptr;         // `label_hisnametop`
    QListWidget *listboxTally = nullptr;  // `listbox_tally`
    QListWidget *checklist = nullptr;     // `checklist`
    QPushButton *reset = nullptr;         // `button_reset`
    QPushButton *done = nullptr;          // `button_done`
};

} // namespace zwonky
