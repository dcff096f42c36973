#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;

namespace zwonky {

// The single-instance guard: the first process of a user holds a lock file
// and listens on a local socket; a second start asks it to raise its main
// window and ends before creating any window of its own.
class PrevInstance : public QObject
{
    Q_OBJECT
public:
    // key: one name per user and program, e.g. defaultKey().
    explicit PrevInstance(QString key, QObject *parent = nullptr);
    ~PrevInstance() override;

    static QString defaultKey();

    // True when this is the first instance; it then listens for raise requests.
    bool claim();
    // Second instance: asks the first to raise its window. True when it answered.
    bool raiseFirst(int timeoutMs = 2000);
    // What the first instance does on a raise request.
    void setRaiseHandler(std::function<void()> handler) { m_raise = std::move(handler); }

private:
    QString m_key;
    QLockFile m_lock;
    QLocalServer *m_server = nullptr;
    std::function<void()> m_raise;
};

} // namespace zwonky
