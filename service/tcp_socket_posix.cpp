#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "service/tcp_socket.h"

namespace {

// Waits until the connect in progress ends or the time is up; 0 when connected.
int WaitForConnect(int fd, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return ETIMEDOUT;
    pollfd wanted{fd, POLLOUT, 0};
    const int rc = poll(&wanted, 1, static_cast<int>(left.count()));
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0) return errno;
    if (rc == 0) return ETIMEDOUT;
    int result = 0;
    socklen_t size = sizeof(result);
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &result, &size) != 0) return errno;
    return result;
  }
}

}  // namespace

void SocketTraits::Close(Native socket) { close(static_cast<int>(socket)); }

int32_t PrepareSockets() { return 0; }

SocketHandle OpenStreamSocket(int32_t& error) {
  SocketHandle socket(static_cast<SocketHandle::Native>(
      ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)));
  if (!socket.valid()) error = errno;
  return socket;
}

int32_t ConnectWithin(SocketHandle::Native socket, uint32_t address, uint16_t port, int timeoutMs) {
  const int fd = static_cast<int>(socket);
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = htons(port);
  if (connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == 0) return 0;
  return errno == EINPROGRESS ? WaitForConnect(fd, timeoutMs) : errno;
}
