#include "sim/tcp_listeners.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sim/stop_signal.h"

namespace {

bool ToAddress(const std::string& host, int port, sockaddr_in& address) {
  address = sockaddr_in{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  return inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1;
}

int Listen(const std::string& host, int port, int backlog, std::string& error) {
  sockaddr_in address;
  if (!ToAddress(host, port, address)) {
    error = "TCP host must be an IPv4 address: " + host;
    return -1;
  }
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const int on = 1;
  if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0 ||
      bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(fd, backlog) != 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    if (fd >= 0) close(fd);
    return -1;
  }
  return fd;
}

void AcceptAndClose(std::vector<int> listeners) {
  std::vector<pollfd> wanted;
  for (const int fd : listeners) wanted.push_back({fd, POLLIN, 0});
  while (!StopRequested()) {
    if (poll(wanted.data(), wanted.size(), 100) <= 0) continue;
    for (const pollfd& listener : wanted) {
      if ((listener.revents & POLLIN) == 0) continue;
      const int peer = accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (peer >= 0) close(peer);
    }
  }
}

}  // namespace

TcpListeners::~TcpListeners() {
  Stop();
  for (const int fd : accepting_) close(fd);
  for (const int fd : {silent_, silentFill_}) {
    if (fd >= 0) close(fd);
  }
}

bool TcpListeners::Start(const std::string& host, std::string& error) {
  for (const int port : {kTcpAcceptPort, kTcpAcceptHighPort, kTcpAcceptLowPort}) {
    const int fd = Listen(host, port, 64, error);
    if (fd < 0) return false;
    accepting_.push_back(fd);
  }
  // With a backlog of 0 one connection fills the queue; later handshakes are not answered.
  silent_ = Listen(host, kTcpSilentPort, 0, error);
  if (silent_ < 0) return false;
  sockaddr_in address;
  ToAddress(host, kTcpSilentPort, address);
  silentFill_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (silentFill_ < 0 ||
      connect(silentFill_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    error = std::string("cannot fill the silent listener: ") + std::strerror(errno);
    return false;
  }
  acceptor_ = std::thread(AcceptAndClose, accepting_);
  return true;
}

void TcpListeners::Stop() {
  RequestStop();
  if (acceptor_.joinable()) acceptor_.join();
}
