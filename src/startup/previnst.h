#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace zwonky {

// The single-instance guard: the first process of a user holds a lock on a
// file (flock: the kernel lets go of it when the process ends, however it
// ends, so nothing is written into the file or synced) and listens on a
// local socket, both in the user's private runtime folder
// (userRuntimeFolder()), where no other account can plant them; a second
// start asks the first to raise its main window and ends before creating
// any window of its own.
class PrevInstance : public QObject
{
    Q_OBJECT
public:
    // folder: where the lock and the socket live, e.g. defaultFolder().
    explicit PrevInstance(QString folder, QObject *parent = nullptr);
    ~PrevInstance() override;

    // The user's runtime folder; empty when the user has no private one.
    static QString defaultFolder();

    // The socket a second start connects to.
    QString socketPath() const;

    // True when this is the first instance; it then listens for raise
    // requests. Without a folder there is no guard: every start is first.
    bool claim();
    // Second instance: asks the first to raise its window. True when it answered.
    bool raiseFirst(int timeoutMs = 2000);
    // What the first instance does on a raise request.
    void setRaiseHandler(std::function<void()> handler) { m_raise = std::move(handler); }
    // Stops listening and removes the lock, so that the next start is the
    // first again. Destruction does it too; a second call does nothing.
    void release();

private:
    // Opens and locks the lock file without waiting; false when another
    // process holds it (or it cannot be made).
    bool takeLock();

    QString m_folder;
    int m_lockFd = -1;
    QLocalServer *m_server = nullptr;
    std::function<void()> m_raise;
};

} // namespace zwonky
