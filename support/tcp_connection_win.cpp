#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/tcp_connection.h"
#include "support/tcp_error_codes.h"

static_assert(tcp_error::kNotCreated == WSAENOTSOCK && tcp_error::kTimedOut == WSAETIMEDOUT &&
              tcp_error::kConnectionRefused == WSAECONNREFUSED &&
              tcp_error::kHostNotFound == WSAHOST_NOT_FOUND &&
              tcp_error::kHostTryAgain == WSATRY_AGAIN);

struct TcpConnection::Native {
  SOCKET socket = INVALID_SOCKET;
  sockaddr_in address{};
  bool connected = false;

  ~Native() {
    if (socket != INVALID_SOCKET) closesocket(socket);
  }
};

namespace {

// Winsock stays started for the life of the process; other parts start it as well.
int StartWinsock() {
  static const int result = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  return result;
}

bool Resolve(const Text& host, uint16_t port, sockaddr_in& address, int32_t& error) {
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  ADDRINFOW* found = nullptr;
  const int rc = GetAddrInfoW(host.c_str(), nullptr, &hints, &found);
  if (rc != 0) {
    error = rc;
    return false;
  }
  address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
  address.sin_port = htons(port);
  FreeAddrInfoW(found);
  return true;
}

// A failed connect shows in the exception set, a working one in the write set.
int WaitForConnect(SOCKET socket, int timeoutMs) {
  if (timeoutMs <= 0) return WSAETIMEDOUT;
  fd_set writable;
  fd_set failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(socket, &writable);
  FD_SET(socket, &failed);
  timeval wait{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int rc = select(0, nullptr, &writable, &failed, &wait);
  if (rc == SOCKET_ERROR) return WSAGetLastError();
  if (rc == 0) return WSAETIMEDOUT;
  int result = 0;
  int size = sizeof(result);
  if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &size) != 0) {
    return WSAGetLastError();
  }
  if (result == 0 && FD_ISSET(socket, &failed)) return WSAECONNREFUSED;
  return result;
}

}  // namespace

TcpConnection::TcpConnection() = default;
TcpConnection::~TcpConnection() = default;

bool TcpConnection::Create(const Text& host, uint16_t port, int32_t& error) {
  native_.reset();
  if (const int started = StartWinsock(); started != 0) {
    error = started;
    return false;
  }
  auto native = std::make_unique<Native>();
  if (!Resolve(host, port, native->address, error)) return false;
  native->socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (native->socket == INVALID_SOCKET) {
    error = WSAGetLastError();
    return false;
  }
  u_long nonBlocking = 1;
  if (ioctlsocket(native->socket, FIONBIO, &nonBlocking) != 0) {
    error = WSAGetLastError();
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
  if (connect(native_->socket, reinterpret_cast<const sockaddr*>(&native_->address),
              sizeof(native_->address)) != 0) {
    const int code = WSAGetLastError();
    result = code == WSAEWOULDBLOCK ? WaitForConnect(native_->socket, timeoutMs) : code;
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
