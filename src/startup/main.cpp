#include "startup/fontconfigload.h"
#include "startup/processend.h"
#include "startup/programrun.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The longest single step of a start begins first.
    zwonky::FontConfigLoad fontConfig;
    QApplication app(argc, argv);
    zwonky::ProgramRun run;
    run.fontConfig = &fontConfig;
    run.parameters = QApplication::arguments().mid(1);
    run.endWhenSettled = true;
    return zwonky::endProcess(zwonky::runProgram(run));
}
