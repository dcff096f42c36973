#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zwonky {

class FontConfigLoad;
class ZwonkyApplication;

// What the program does between the making of its QApplication and the end
// of its main loop: the termination signals, the single-instance guard, the
// windows, the role and the main loop. main() runs it with the command line;
// the start-up benchmark runs the same path with its own folders and port.
struct ProgramRun
{
    QStringList parameters;        // at most the first four are used
    QString guardFolder;           // empty: the user's runtime folder
    QString gamePort = QStringLiteral("7772");
    QString dataFolder;            // settings and tally; empty = beside the program
    // End the process as soon as the run is settled (endProcess), without
    // destroying the windows: for main() and the start-up benchmark.
    bool endWhenSettled = false;
    // The font configuration's load, started before the QApplication was
    // made, or null: the font database then loads it itself.
    FontConfigLoad *fontConfig = nullptr;
    // Called once the main window was asked to show, before the main loop.
    std::function<void(ZwonkyApplication &)> started;
};

// Needs a QApplication; returns the exit code of the process.
int runProgram(const ProgramRun &run);

} // namespace zwonky
