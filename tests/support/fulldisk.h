#pragma once

// Two ways to make the next write fail, for tests of what a failed save
// leaves behind.
//
// FullDisk: a folder on a small RAM file system of its own, which fill()
// leaves with no byte to spare. Mounting needs root; where that is refused,
// isMounted() is false and reason() says why, so the test can skip.
//
// FileSizeLimit: while it lives, no file of this process may grow beyond the
// given size (a write past it fails with EFBIG); works for any user.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zwonky::testkit {

class FullDisk
{
public:
    explicit FullDisk(qint64 bytes = 256 * 1024)
    {
        if (::geteuid() != 0) {
            m_reason = QStringLiteral("mounting a small file system needs root");
            return;
        }
        if (!m_mountPoint.isValid()) {
            m_reason = QStringLiteral("no temporary folder");
            return;
        }
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(m_mountPoint.path()).constData(), "tmpfs", 0,
                    options.constData())
            != 0) {
            m_reason = QStringLiteral("mount refused: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    QString reason() const { return m_reason; }
    QString path() const { return m_mountPoint.path(); }
    QString filePath(const QString &name) const { return QDir(path()).filePath(name); }

    // Takes every free block with a filler file. True once a write was
    // refused for want of space.
    bool fill()
    {
        QFile filler(filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        // The last block may have gone in part: take what is left byte by byte.
        while (filler.write("f", 1) == 1) {
        }
        return true;
    }

private:
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;
    QString m_reason;
};

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        // Growing past the limit also raises SIGXFSZ, which would end the test.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_active = false;
};

} // namespace zwonky::testkit
