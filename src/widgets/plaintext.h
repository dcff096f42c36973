#pragma once

// Text that comes from the network or from a file (a player's name, a word,
// a host's error) is shown as the characters it holds: a name like
// "<b>Ann</b>" shows its tags. Qt reads a text that looks like HTML as
// formatting wherever it is left to guess (labels, message boxes, tool
// tips); every place that shows such a text goes through here instead.

#include <QMessageBox>
#include <QString>

#include <memory>

class QLabel;

namespace zwonky::plaintext {

// The label shows whatever it is given as plain text, now and later.
void keep(QLabel *label);
// The same for a message box's text.
void keep(QMessageBox *box);
// The tool tip that shows `text` as it is (an empty text stays no tip).
QString toolTip(const QString &text);
// A box with that text as plain text, owned by the caller.
std::unique_ptr<QMessageBox> box(QMessageBox::Icon icon, const QString &title, const QString &text,
                                 QMessageBox::StandardButtons buttons, QWidget *parent);

} // namespace zwonky::plaintext
