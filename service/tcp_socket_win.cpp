#include <winsock2.h>
#include <ws2tcpip.h>

#include "service/tcp_socket.h"
#include "support/socket_library.h"

namespace {

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

void SocketTraits::Close(Native socket) { closesocket(static_cast<SOCKET>(socket)); }

// Winsock stays started for the life of the process; other parts start it as well.
int32_t PrepareSockets() {
  static SocketLibrary* const sockets = [] {
    auto* const library = new SocketLibrary;
    library->Start(2, 2);
    return library;
  }();
  return sockets->error();
}

SocketHandle OpenStreamSocket(int32_t& error) {
  SocketHandle socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  u_long nonBlocking = 1;
  if (!socket.valid() || ioctlsocket(socket.get(), FIONBIO, &nonBlocking) != 0) {
    error = WSAGetLastError();
    socket.reset();
  }
  return socket;
}

int32_t ConnectWithin(SocketHandle::Native socket, uint32_t address, uint16_t port, int timeoutMs) {
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  to.sin_port = htons(port);
  if (connect(socket, reinterpret_cast<const sockaddr*>(&to), sizeof(to)) == 0) return 0;
  const int code = WSAGetLastError();
  return code == WSAEWOULDBLOCK ? WaitForConnect(socket, timeoutMs) : code;
}
