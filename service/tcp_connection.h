// The single TCP connection of the connection test (IPv4). Failures give the codes of
// service/tcp_error_codes.h. Not locked: its owner serialises the calls.
#pragma once

#include <cstdint>

#include "service/tcp_socket.h"
#include "support/text.h"

class TcpConnection {
 public:
  // Releases any earlier socket, resolves the host and makes a new socket for it.
  bool Create(const Text& host, uint16_t port, int32_t& error);
  // Connects the socket made by Create within timeoutMs. A failed attempt releases the socket.
  bool Connect(int timeoutMs, int32_t& error);
  // Whether there was a socket to close.
  bool Close();

 private:
  SocketHandle socket_;
  uint32_t address_ = 0;  // network byte order
  uint16_t port_ = 0;
  bool connected_ = false;
};
