#pragma once

#include <QObject>

class QSocketNotifier;

namespace zwonky {

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the UI thread, so that
// stopping the program from a terminal or logging out closes the main window
// exactly as File > Exit does (and saves what an ordinary exit saves).
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace zwonky
