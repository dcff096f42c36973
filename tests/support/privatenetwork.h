#pragma once

// A network of the test's own: enter() moves the test process into a new
// network namespace with only its loopback, brought up here. Programs the
// test starts afterwards share it, so they may use the game's real ports
// without meeting any other game on the machine. Needs root; where it is
// refused, enter() is false and reason() says why, so the test can skip.

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
        ifreq loopback{};
        std::strncpy(loopback.ifr_name, "lo", IFNAMSIZ - 1);
        const int probe = ::unshare(CLONE_NEWNET) == 0 ? ::socket(AF_INET, SOCK_DGRAM, 0) : -1;
        const bool up = probe >= 0 && ::ioctl(probe, SIOCGIFFLAGS, &loopback) == 0
            && (loopback.ifr_flags |= IFF_UP, ::ioctl(probe, SIOCSIFFLAGS, &loopback) == 0);
        if (!up)
            m_reason = QStringLiteral("no loopback of its own: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        if (probe >= 0)
            ::close(probe);
        return up;
    }
    QString reason() const { return m_reason; }

private:
    QString m_reason;
};

} // namespace zwonky::testkit
