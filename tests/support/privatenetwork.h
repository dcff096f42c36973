#pragma once

// A network of the test's own: enter() moves the whole test process into a
// new network namespace whose only interface is its loopback, brought up
// here. Programs the test starts afterwards share it, so they may use the
// game's real ports without meeting any other game or test on the machine.
// Needs root (or CAP_SYS_ADMIN); where that is refused, enter() returns
// false and reason() says why, so the test can skip.

#include <QString>

#include <cerrno>
#include <cstring>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zwonky::testkit {

class PrivateNetwork
{
public:
    bool enter()
    {
        if (::unshare(CLONE_NEWNET) != 0)
            return fail(QStringLiteral("no network namespace"));
        const int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
        if (probe < 0)
            return fail(QStringLiteral("no socket"));
        ifreq loopback{};
        std::strncpy(loopback.ifr_name, "lo", IFNAMSIZ - 1);
        bool up = ::ioctl(probe, SIOCGIFFLAGS, &loopback) == 0;
        loopback.ifr_flags |= IFF_UP;
        up = up && ::ioctl(probe, SIOCSIFFLAGS, &loopback) == 0;
        ::close(probe);
        return up || fail(QStringLiteral("loopback stays down"));
    }
    QString reason() const { return m_reason; }

private:
    bool fail(const QString &what)
    {
        m_reason = QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }

    QString m_reason;
};

} // namespace zwonky::testkit
