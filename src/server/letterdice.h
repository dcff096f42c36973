#pragma once

#include <QRandomGenerator>
#include <QStringList>

namespace zwonky {

// The 13 letter dice; die k supplies the k-th letter of every set.
// Faces of die k (1-13), six upper-case letters.
const char *dieFaces(int die);

// One face of die k, chosen uniformly among its six.
QString rollDie(int die, QRandomGenerator &random);

// All 13 dice rolled once: a whole letter set, die 1 first.
QStringList rollAllDice(QRandomGenerator &random);

} // namespace zwonky
