#pragma once

// What every Qt-based fuzz target sets up once: the application object that
// QObject-based code and timers expect, and a quiet message handler, so that
// the warnings hostile input provokes do not slow the run down. A fatal
// message still ends the run as a crash.

#include <QCoreApplication>
#include <QtGlobal>

#include <cstdlib>

namespace zwonky::fuzz {

inline void startQt(int *argc, char ***argv)
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &) {
        if (type == QtFatalMsg)
            std::abort();
    });
    static QCoreApplication app(*argc, *argv);
}

} // namespace zwonky::fuzz
