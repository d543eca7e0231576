// The platform's part of the TCP test: a non-blocking IPv4 stream socket and its connect. Codes
// are the platform's own socket error numbers (service/tcp_error_codes.h).
#pragma once

#include <cstdint>

#include "support/handle.h"

// The socket as the platform numbers it (SOCKET on Windows, a descriptor elsewhere) and its owner.
struct SocketTraits {
  using Native = std::uintptr_t;
  // INVALID_SOCKET and a descriptor of -1 both have every bit set.
  static Native Invalid() { return ~Native{0}; }
  static bool Valid(Native socket) { return socket != Invalid(); }
  static void Close(Native socket);
};
using SocketHandle = UniqueHandle<SocketTraits>;

// Starts what sockets need, once for the life of the process (Winsock on Windows). 0, or the code.
int32_t PrepareSockets();

// A new non-blocking stream socket; none, with the code in `error`, when it cannot be made.
SocketHandle OpenStreamSocket(int32_t& error);

// Connects `socket` to `address` (network byte order) and `port`, waiting at most `timeoutMs`.
// 0 when connected, otherwise the code.
int32_t ConnectWithin(SocketHandle::Native socket, uint32_t address, uint16_t port, int timeoutMs);
