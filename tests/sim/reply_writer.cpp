#include "tests/sim/reply_writer.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace x740sim {

bool writeAll(int fd, const std::uint8_t* data, std::size_t count, bool socket)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = socket ? ::send(fd, data + done, count - done, MSG_NOSIGNAL)
                                 : ::write(fd, data + done, count - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 1000) <= 0)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

bool writeResponse(int fd, const Response& response, bool socket)
{
    for (const ReplyChunk& chunk : response.chunks) {
        if (chunk.delayBeforeMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(chunk.delayBeforeMs));
        if (!writeAll(fd, chunk.bytes.data(), chunk.bytes.size(), socket))
            return false;
    }
    return true;
}

} // namespace x740sim
