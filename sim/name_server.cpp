#include "sim/name_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "sim/stop_signal.h"

namespace {

constexpr size_t kHeaderSize = 12;

// The question's name in dotted lower case and where the question ends; false when the query is
// malformed.
bool ReadQuestion(const std::string& query, std::string& name, size_t& end) {
  size_t at = kHeaderSize;
  name.clear();
  while (at < query.size()) {
    const size_t length = static_cast<unsigned char>(query[at++]);
    if (length == 0) {
      end = at + 4;  // type and class
      return end <= query.size();
    }
    if (length > 63 || at + length > query.size()) return false;
    if (!name.empty()) name += '.';
    for (size_t i = 0; i < length; ++i) {
      name += static_cast<char>(std::tolower(static_cast<unsigned char>(query[at + i])));
    }
    at += length;
  }
  return false;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void Answer(int socket) {
  char buffer[512];
  while (!StopRequested()) {
    pollfd wanted{socket, POLLIN, 0};
    if (poll(&wanted, 1, 100) <= 0) continue;
    sockaddr_in peer{};
    socklen_t peerSize = sizeof peer;
    const ssize_t size =
        recvfrom(socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&peer), &peerSize);
    if (size <= 0) continue;
    const std::string reply = NameServerReply(std::string(buffer, static_cast<size_t>(size)));
    if (reply.empty()) continue;
    sendto(socket, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&peer),
           peerSize);
  }
}

}  // namespace

std::string NameServerReply(const std::string& query) {
  std::string name;
  size_t end = 0;
  if (query.size() < kHeaderSize || (query[2] & 0x80) != 0 || !ReadQuestion(query, name, end)) {
    return {};
  }
  if (name == kHangingDomain || EndsWith(name, std::string(".") + kHangingDomain)) return {};
  // The header and question as asked: a response, recursion available, "no such name", no
  // answer, authority or additional records.
  std::string reply = query.substr(0, end);
  reply[2] = static_cast<char>(0x80 | (query[2] & 0x79));  // QR, the opcode, RD
  reply[3] = static_cast<char>(0x80 | 3);                  // RA, NXDOMAIN
  reply[4] = 0;                                            // one question
  reply[5] = 1;
  for (size_t i = 6; i < kHeaderSize; ++i) reply[i] = 0;
  return reply;
}

NameServer::~NameServer() { Stop(); }

bool NameServer::Start(const std::string& address, std::string& error) {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(53);
  if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1) {
    error = "the name server's address must be IPv4: " + address;
    return false;
  }
  socket_.reset(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!socket_.valid() ||
      bind(socket_.get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    error = "cannot serve names on " + address + ":53: " + std::strerror(errno);
    return false;
  }
  answerer_ = std::thread(Answer, socket_.get());
  return true;
}

void NameServer::Stop() {
  if (answerer_.joinable()) answerer_.join();
}
