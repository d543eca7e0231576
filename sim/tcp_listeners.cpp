#include "sim/tcp_listeners.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "sim/stop_signal.h"

namespace {

bool ToAddress(const std::string& host, int port, sockaddr_in& address) {
  address = sockaddr_in{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  return inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1;
}

Descriptor Listen(const std::string& host, int port, int backlog, std::string& error) {
  sockaddr_in address;
  if (!ToAddress(host, port, address)) {
    error = "TCP host must be an IPv4 address: " + host;
    return Descriptor();
  }
  Descriptor fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int on = 1;
  if (!fd.valid() || setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0 ||
      bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      listen(fd.get(), backlog) != 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    return Descriptor();
  }
  return fd;
}

void AcceptAndClose(const std::vector<Descriptor>& listeners) {
  std::vector<pollfd> wanted;
  for (const Descriptor& fd : listeners) wanted.push_back({fd.get(), POLLIN, 0});
  while (!StopRequested()) {
    if (poll(wanted.data(), wanted.size(), 100) <= 0) continue;
    for (const pollfd& listener : wanted) {
      if ((listener.revents & POLLIN) == 0) continue;
      const Descriptor peer(
          accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC));  // closed at once
    }
  }
}

}  // namespace

TcpListeners::~TcpListeners() { Stop(); }

bool TcpListeners::Start(const std::string& host, std::string& error) {
  for (const int port : {kTcpAcceptPort, kTcpAcceptHighPort, kTcpAcceptLowPort}) {
    Descriptor fd = Listen(host, port, 64, error);
    if (!fd.valid()) return false;
    accepting_.push_back(std::move(fd));
  }
  // With a backlog of 0 one connection fills the queue; later handshakes are not answered.
  silent_ = Listen(host, kTcpSilentPort, 0, error);
  if (!silent_.valid()) return false;
  sockaddr_in address;
  ToAddress(host, kTcpSilentPort, address);
  silentFill_.reset(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!silentFill_.valid() ||
      connect(silentFill_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) !=
          0) {
    error = std::string("cannot fill the silent listener: ") + std::strerror(errno);
    return false;
  }
  acceptor_ = std::thread(AcceptAndClose, std::cref(accepting_));
  return true;
}

void TcpListeners::Stop() {
  RequestStop();
  if (acceptor_.joinable()) acceptor_.join();
}
