#include "startup/processend.h"
#include "startup/programrun.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    zwonky::ProgramRun run;
    run.parameters = QApplication::arguments().mid(1);
    run.endWhenSettled = true;
    return zwonky::endProcess(zwonky::runProgram(run));
}
