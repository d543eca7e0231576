// Every echo on an ICMP socket of its own, all of them waited for in one poll.
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <list>

#include "probe/echo_flight.h"
#include "probe/echo_socket_posix.h"
#include "probe/last_error.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Flying {
  uint64_t tag = 0;
  EchoSocket echo;
  Clock::time_point deadline;
};

class SocketFlight : public EchoFlight {
 public:
  explicit SocketFlight(int type) : type_(type) {}

  bool Send(uint64_t tag, uint32_t address, uint32_t ttl, uint32_t waitMs, int dataSize,
            uint32_t& error) override {
    flying_.emplace_back();
    Flying& flying = flying_.back();
    flying.tag = tag;
    if (!SendEcho(flying.echo, type_, address, ttl, dataSize)) {
      error = GetThreadLastError();
      flying_.pop_back();
      return false;
    }
    flying.deadline = flying.echo.sent + std::chrono::milliseconds(waitMs);
    return true;
  }

  std::vector<EchoOutcome> Collect(uint32_t waitMs) override {
    std::vector<EchoOutcome> ended;
    Clock::time_point until = Clock::now() + std::chrono::milliseconds(waitMs);
    for (const Flying& flying : flying_) until = std::min(until, flying.deadline);
    std::vector<pollfd> waiting;
    for (const Flying& flying : flying_) waiting.push_back({flying.echo.fd.get(), POLLIN, 0});
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
    const int ready =
        poll(waiting.data(), waiting.size(), static_cast<int>(std::max<long long>(left, 0)));
    const int pollError = ready < 0 && errno != EINTR ? errno : 0;
    size_t i = 0;
    for (auto flying = flying_.begin(); flying != flying_.end(); ++i) {
      EchoOutcome outcome;
      outcome.tag = flying->tag;
      bool done = false;
      if (pollError != 0) {
        outcome.kind = EchoOutcome::Kind::kFailed;
        outcome.error = EchoTransferFailure(pollError);
        done = true;
      } else if (ready > 0 && waiting[i].revents != 0) {
        switch (ReadEcho(flying->echo, (waiting[i].revents & POLLERR) != 0, outcome.result)) {
          case EchoRead::kNothing:
            break;
          case EchoRead::kAnswer:
            outcome.kind = EchoOutcome::Kind::kAnswered;
            done = true;
            break;
          case EchoRead::kCorrupted:  // lost to the path as surely as a drop
            outcome.kind = EchoOutcome::Kind::kTimedOut;
            done = true;
            break;
          case EchoRead::kFailed:
            outcome.kind = EchoOutcome::Kind::kFailed;
            outcome.error = GetThreadLastError();
            done = true;
            break;
        }
      }
      if (!done && Clock::now() >= flying->deadline) done = true;  // kTimedOut
      if (done) {
        ended.push_back(outcome);
        flying = flying_.erase(flying);
      } else {
        ++flying;
      }
    }
    return ended;
  }

  size_t inFlight() const override { return flying_.size(); }

 private:
  int type_;
  std::list<Flying> flying_;
};

}  // namespace

std::unique_ptr<EchoFlight> MakeEchoFlight(Text& why) {
  for (const wchar_t* name : {L"datagram", L"raw"}) {
    const int type = EchoSocketTypeNamed(name);
    if (CanOpenEchoSocket(type)) return std::make_unique<SocketFlight>(type);
  }
  why = L"本机没有可用的 ICMP 功能（没有 ICMP 库或没有权限）";
  return nullptr;
}
