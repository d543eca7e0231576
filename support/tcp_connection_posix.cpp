#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>

#include "support/tcp_connection.h"
#include "support/tcp_error_codes.h"

static_assert(tcp_error::kNotCreated == ENOTSOCK && tcp_error::kTimedOut == ETIMEDOUT &&
              tcp_error::kConnectionRefused == ECONNREFUSED &&
              tcp_error::kHostNotFound == EAI_NONAME && tcp_error::kHostTryAgain == EAI_AGAIN);

struct TcpConnection::Native {
  int fd = -1;
  sockaddr_in address{};
  bool connected = false;

  ~Native() {
    if (fd >= 0) close(fd);
  }
};

namespace {

bool Resolve(const Text& host, uint16_t port, sockaddr_in& address, int32_t& error) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int rc = getaddrinfo(ToUtf8(host).c_str(), nullptr, &hints, &found);
  if (rc != 0) {
    error = rc == EAI_SYSTEM ? errno : rc;
    return false;
  }
  address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  address.sin_port = htons(port);
  freeaddrinfo(found);
  return true;
}

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

TcpConnection::TcpConnection() = default;
TcpConnection::~TcpConnection() = default;

bool TcpConnection::Create(const Text& host, uint16_t port, int32_t& error) {
  native_.reset();
  auto native = std::make_unique<Native>();
  if (!Resolve(host, port, native->address, error)) return false;
  native->fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (native->fd < 0) {
    error = errno;
    return false;
  }
  native_ = std::move(native);
  return true;
}

bool TcpConnection::Connect(int timeoutMs, int32_t& error) {
  if (!native_) {
    error = tcp_error::kNotCreated;
    return false;
  }
  if (native_->connected) return true;
  int result = 0;
  if (connect(native_->fd, reinterpret_cast<const sockaddr*>(&native_->address),
              sizeof(native_->address)) != 0) {
    result = errno == EINPROGRESS ? WaitForConnect(native_->fd, timeoutMs) : errno;
  }
  if (result != 0) {
    error = result;
    native_.reset();
    return false;
  }
  native_->connected = true;
  return true;
}

bool TcpConnection::Close() {
  const bool had = native_ != nullptr;
  native_.reset();
  return had;
}
