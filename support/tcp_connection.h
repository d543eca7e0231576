// The single TCP connection of the connection test (IPv4). Failures give the codes of
// support/tcp_error_codes.h. Not locked: its owner serialises the calls.
#pragma once

#include <cstdint>
#include <memory>

#include "support/text.h"

class TcpConnection {
 public:
  TcpConnection();
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Releases any earlier socket, resolves the host and makes a new socket for it.
  bool Create(const Text& host, uint16_t port, int32_t& error);
  // Connects the socket made by Create within timeoutMs. A failed attempt releases the socket.
  bool Connect(int timeoutMs, int32_t& error);
  // Whether there was a socket to close.
  bool Close();

 private:
  struct Native;
  std::unique_ptr<Native> native_;
};
