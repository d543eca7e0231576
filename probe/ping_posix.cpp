// The echo over an ICMP socket: a datagram ICMP socket where the system allows one (it gives each
// socket an identifier of its own and only that socket's replies), else a raw ICMP socket (which
// sees every reply on the host, so replies are matched, in the kernel and again here, by this
// process's identifier and a sequence number no other echo of the process uses at the same time).
#include <arpa/inet.h>
#include <errno.h>
#include <linux/errqueue.h>
#include <linux/filter.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <iterator>

#include "probe/echo_socket_posix.h"
#include "probe/last_error.h"
#include "probe/ping.h"
#include "support/handle_posix.h"
#include "support/text_conversions.h"

struct CPing::Library {
  int socketType = 0;  // SOCK_DGRAM or SOCK_RAW
};

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

CPing::CPing() : CPing(L"datagram", L"raw") {}

CPing::CPing(const Text& first, const Text& second) {
  for (const Text* name : {&first, &second}) {
    const int type = EchoSocketTypeNamed(*name);
    if (type != 0 && CanOpenEchoSocket(type)) {
      library = std::make_unique<Library>();
      library->socketType = type;
      return;
    }
  }
}

CPing::~CPing() = default;

bool CPing::Ping(EchoResult& result, const Text& target, uint32_t timeoutMs) {
  if (!library) {
    SetThreadLastError(kErrorCallNotImplemented);
    return false;
  }
  uint32_t address = 0;
  if (!ResolveEchoTarget(WideToAnsi(target), address)) return false;
  EchoResult answer;
  if (!Probe(answer, address, kEchoTimeToLive, timeoutMs)) return false;
  // An error report (host unreachable, say) came back instead of the node's echo.
  if (answer.status != kEchoStatusSuccess) {
    SetThreadLastError(answer.status);
    return false;
  }
  result = answer;
  return true;
}

bool CPing::Probe(EchoResult& result, uint32_t address, uint32_t ttl, uint32_t timeoutMs) {
  if (!library) {
    SetThreadLastError(kErrorCallNotImplemented);
    return false;
  }
  EchoSocket echo;
  if (!SendEcho(echo, library->socketType, address, ttl)) return false;
  const Clock::time_point deadline = echo.sent + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const Clock::time_point now = Clock::now();
    if (now >= deadline) break;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
    pollfd waiting{echo.fd.get(), POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) {
      SetThreadLastError(EchoTransferFailure(errno));
      return false;
    }
    if (ready == 0) continue;  // the deadline check above ends the wait
    switch (ReadEcho(echo, (waiting.revents & POLLERR) != 0, result)) {
      case EchoRead::kNothing:
        continue;
      case EchoRead::kAnswer:
        return true;
      case EchoRead::kCorrupted:
        SetThreadLastError(kErrorUnexpectedNetError);
        return false;
      case EchoRead::kFailed:
        return false;
    }
  }
  SetThreadLastError(kEchoTimedOut);
  return false;
}

bool BindToAddress(NativeSocket socket, uint32_t address) {
  sockaddr_in local{};  // port 0
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = address;
  return bind(static_cast<int>(socket), reinterpret_cast<const sockaddr*>(&local), sizeof local) ==
         0;
}
