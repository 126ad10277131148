// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidrawConnection.h"

#include <QFile>

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace dpx {

std::unique_ptr<HidrawConnection> HidrawConnection::open(const QString &nodePath,
                                                         ReportLengths lengths)
{
    const int fd = ::open(QFile::encodeName(nodePath).constData(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<HidrawConnection>(new HidrawConnection(fd, wakeFd, lengths));
}

HidrawConnection::HidrawConnection(int fd, int wakeFd, ReportLengths lengths)
    : m_fd(fd)
    , m_wakeFd(wakeFd)
    , m_lengths(lengths)
{
}

HidrawConnection::~HidrawConnection()
{
    ::close(m_fd);
    ::close(m_wakeFd);
}

int HidrawConnection::write(const quint8 *data, int length)
{
    if (!data || length <= 0)
        return -1;
    ssize_t written;
    do
        written = ::write(m_fd, data, size_t(length));
    while (written < 0 && errno == EINTR);
    return written < 0 ? -1 : int(written);
}

int HidrawConnection::read(quint8 *buffer, int capacity, int timeoutMs)
{
    if (!buffer || capacity <= 0)
        return 0;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    for (;;) {
        pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        const int ready = ::poll(fds, 2, int(std::max<qint64>(0, left.count())));
        if (ready < 0 && errno == EINTR)
            continue; // a signal is no reason to give the device up
        if (ready < 0)
            return -1;
        if (fds[1].revents & POLLIN) {
            eventfd_t count;
            ::eventfd_read(m_wakeFd, &count);
            return 0;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL))
            return -1; // the node went away
        if (!(fds[0].revents & POLLIN))
            return 0; // timed out
        const ssize_t length = ::read(m_fd, buffer, size_t(capacity));
        if (length >= 0)
            return int(length);
        if (errno == EAGAIN || errno == EINTR)
            continue;
        return -1;
    }
}

void HidrawConnection::wake()
{
    ::eventfd_write(m_wakeFd, 1);
}

} // namespace dpx
