#include "service/tcp_connection.h"

#include <utility>

#include "service/tcp_error_codes.h"
#include "service/tcp_socket.h"
#include "support/resolve.h"

bool TcpConnection::Create(const Text& host, uint16_t port, int32_t& error) {
  Close();
  int32_t code = PrepareSockets();
  uint32_t address = 0;
  if (code == 0) code = ResolveIPv4(host, address);
  if (code != 0) {
    error = code;
    return false;
  }
  SocketHandle socket = OpenStreamSocket(error);
  if (!socket.valid()) return false;
  socket_ = std::move(socket);
  address_ = address;
  port_ = port;
  return true;
}

bool TcpConnection::Connect(int timeoutMs, int32_t& error) {
  if (!socket_.valid()) {
    error = tcp_error::kNotCreated;
    return false;
  }
  if (connected_) return true;
  const int32_t result = ConnectWithin(socket_.get(), address_, port_, timeoutMs);
  if (result != 0) {
    error = result;
    socket_.reset();
    return false;
  }
  connected_ = true;
  return true;
}

bool TcpConnection::Close() {
  const bool had = socket_.valid();
  socket_.reset();
  connected_ = false;
  return had;
}
