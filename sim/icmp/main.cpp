// quorvex-icmp-sim: answers ICMP echo requests to the test hosts 198.18.0.0/24 on a TUN device,
// each host and the routers in front of it as the table in host_table.cpp says. Runs inside the
// test's network namespace until SIGTERM, until its parent ends, or until the device goes away.
//
//   quorvex-icmp-sim [--device NAME] [--ready-file PATH]
#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <queue>
#include <string>
#include <utility>
#include <vector>

#include "sim/icmp/echo_reply.h"
#include "sim/icmp/host_table.h"
#include "sim/icmp/path_walk.h"
#include "sim/icmp/tun_device.h"
#include "support/handle_posix.h"

namespace {

using Clock = std::chrono::steady_clock;

// Replies waiting for their added delay; beyond this many, requests go unanswered.
constexpr size_t kMaxPending = 4096;
constexpr size_t kMaxPacket = 65535;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) { stopRequested = 1; }

struct Pending {
  Clock::time_point due;
  uint64_t order;  // keeps replies with the same due time in arrival order
  std::vector<uint8_t> packet;
  bool operator>(const Pending& other) const {
    return due != other.due ? due > other.due : order > other.order;
  }
};

class Responder {
 public:
  explicit Responder(int device) : device_(device) {}

  void Run() {
    std::vector<uint8_t> buffer(kMaxPacket);
    while (!stopRequested) {
      SendDue();
      int timeout = 1000;
      if (!pending_.empty()) {
        const auto left = pending_.top().due - Clock::now();
        timeout = static_cast<int>(
            std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(left).count()));
      }
      pollfd waiting{device_, POLLIN, 0};
      const int ready = poll(&waiting, 1, timeout);
      if (ready < 0) {
        if (errno == EINTR) continue;
        std::cerr << "quorvex-icmp-sim: poll: " << std::strerror(errno) << "\n";
        return;
      }
      if (ready == 0) continue;
      if (waiting.revents & (POLLERR | POLLHUP | POLLNVAL)) return;  // the device is gone
      const ssize_t length = read(device_, buffer.data(), buffer.size());
      if (length < 0) {
        if (errno == EINTR || errno == EAGAIN) continue;
        return;
      }
      Handle(buffer.data(), static_cast<size_t>(length));
    }
  }

 private:
  void Handle(const uint8_t* packet, size_t length) {
    EchoRequest request;
    if (!ParseEchoRequest(packet, length, request)) return;
    HostBehaviour behaviour;
    if (!BehaviourOf(request.destination, behaviour)) return;
    const auto nowMs = static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
            .count());
    const PathEnd path = path_.Walk(behaviour, request.ttl, request.source, nowMs);
    if (path.kind == PathEnd::Kind::kDropped) return;
    if (path.kind == PathEnd::Kind::kTimeExceeded) {
      Queue(path.delayMs, MakeTimeExceeded(packet, length, path.router));
      return;
    }
    if (behaviour.silent) return;
    // Like a router's, the host's pattern counts each time to live apart: a tracer that sends two
    // TTLs reaching the host each round must not lose the same one every round. A new TTL starts
    // from the host's count so far, so a survey's echoes, all of one TTL, count as they always did.
    const uint64_t seen = ++echoes_[request.destination];
    const uint64_t count =
        ++echoesAt_.try_emplace({request.destination, request.ttl}, seen - 1).first->second;
    if (behaviour.dropEvery != 0 && count % behaviour.dropEvery == 0) return;
    if (behaviour.burstEvery != 0 && request.dataSize >= kCallSizedData) {
      // A pause of a second begins a new sample, so every run reads the same.
      auto& [call, last] = calls_[request.destination];
      if (Clock::now() - last > std::chrono::seconds(1)) call = 0;
      last = Clock::now();
      if (call++ % behaviour.burstEvery >= behaviour.burstEvery - behaviour.burstLength) return;
    }
    const uint32_t delayMs = behaviour.delayCount != 0
                                 ? behaviour.delays[(count - 1) % behaviour.delayCount]
                                 : behaviour.delayMs;
    Queue(path.delayMs + delayMs, behaviour.unreachable
                                      ? MakeHostUnreachable(packet, length)
                                      : MakeEchoReply(packet, length, behaviour.corrupt));
  }

  void Queue(uint32_t delayMs, std::vector<uint8_t> reply) {
    if (pending_.size() >= kMaxPending) return;
    pending_.push(
        Pending{Clock::now() + std::chrono::milliseconds(delayMs), order_++, std::move(reply)});
    SendDue();
  }

  void SendDue() {
    while (!pending_.empty() && pending_.top().due <= Clock::now()) {
      const std::vector<uint8_t>& reply = pending_.top().packet;
      if (write(device_, reply.data(), reply.size()) < 0 && errno != EAGAIN) {
        std::cerr << "quorvex-icmp-sim: write: " << std::strerror(errno) << "\n";
      }
      pending_.pop();
    }
  }

  int device_;
  std::priority_queue<Pending, std::vector<Pending>, std::greater<Pending>> pending_;
  std::map<uint32_t, uint64_t> echoes_;                        // host -> echoes reaching it
  std::map<std::pair<uint32_t, uint8_t>, uint64_t> echoesAt_;  // (host, TTL) -> its count
  PathWalk path_;
  // host -> call-sized echoes of its sample so far, and when the last came
  std::map<uint32_t, std::pair<uint64_t, Clock::time_point>> calls_;
  uint64_t order_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  std::string device = "qtun0";
  std::string readyFile;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--device" && i + 1 < argc) {
      device = argv[++i];
    } else if (arg == "--ready-file" && i + 1 < argc) {
      readyFile = argv[++i];
    } else {
      std::cerr << "usage: quorvex-icmp-sim [--device NAME] [--ready-file PATH]\n";
      return 2;
    }
  }

  // Ends with whoever started it.
  prctl(PR_SET_PDEATHSIG, SIGTERM);
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);

  std::string error;
  const Descriptor fd(OpenTunDevice(device, error));
  if (!fd.valid()) {
    std::cerr << "quorvex-icmp-sim: " << error << "\n";
    return 1;
  }
  if (!readyFile.empty()) {
    std::ofstream ready(readyFile);
    ready << getpid() << "\n";
    if (!ready) {
      std::cerr << "quorvex-icmp-sim: cannot write " << readyFile << "\n";
      return 1;
    }
  }
  Responder(fd.get()).Run();
  return 0;
}
