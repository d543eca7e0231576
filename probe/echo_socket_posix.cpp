#include "probe/echo_socket_posix.h"

#include <errno.h>
#include <linux/errqueue.h>
#include <linux/filter.h>
#include <linux/icmp.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <iterator>

#include "probe/echo_reply.h"
#include "probe/last_error.h"

namespace {

constexpr int kRequestSize = 8 + kEchoDataSize;
// Room for the largest IPv4 header and more than any echo reply of ours.
constexpr int kReceiveSize = 60 + 8 + 512;
// A datagram socket hands over the ICMP message alone; a stand-in IPv4 header of 20 bytes in
// front lets the same check read it.
constexpr int kStandInHeader = 20;

// Failure reasons in the numbers the Windows probe reports.
uint32_t OpenFailure(int error) {
  switch (error) {
    case ENOMEM:
    case ENOBUFS:
      return kErrorOutOfMemory;
    case EPERM:
    case EACCES:
    case EAFNOSUPPORT:
    case EPROTONOSUPPORT:
    case ESOCKTNOSUPPORT:
      return kErrorCallNotImplemented;
    default:
      return kErrorUnexpectedNetError;
  }
}

// A raw socket is handed every echo reply and error report of the host, and those of other echoes
// (of the other probe threads, say) coming faster than a busy thread reads could fill its receive
// queue, so that the system drops this echo's answer. The kernel keeps only the reply whose
// identifier and sequence are this request's, and the error reports quoting them (behind a quoted
// IPv4 header of 20 bytes, as our requests carry no options).
void KeepOnlyTheAnswersTo(int fd, const uint8_t* request) {
  const uint32_t identifierAndSequence = uint32_t{request[4]} << 24 | uint32_t{request[5]} << 16 |
                                         uint32_t{request[6]} << 8 | request[7];
  sock_filter code[] = {
      BPF_STMT(BPF_LDX | BPF_B | BPF_MSH, 0),  // the IPv4 header's length
      BPF_STMT(BPF_LD | BPF_B | BPF_IND, 0),   // the ICMP type
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, ICMP_ECHOREPLY, 0, 3),
      BPF_STMT(BPF_LD | BPF_W | BPF_IND, 4),  // the reply's identifier and sequence
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, identifierAndSequence, 3, 0),
      BPF_STMT(BPF_RET | BPF_K, 0),
      BPF_STMT(BPF_LD | BPF_W | BPF_IND, 8 + 20 + 4),  // the quoted request's
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, identifierAndSequence, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, 0xFFFF),
      BPF_STMT(BPF_RET | BPF_K, 0),
  };
  sock_fprog program{static_cast<unsigned short>(std::size(code)), code};
  // Without the filter the answer is still found among the others, only less surely on a busy host.
  setsockopt(fd, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program);
}

uint32_t UnreachableStatus(uint8_t code) {
  return code <= 3 ? kEchoStatusNetUnreachable + code : kEchoStatusNetUnreachable + 1;
}

// The error the system queued for our request: a router's "time exceeded" or an "unreachable",
// with the address of whoever sent it. False for anything else, which is dropped.
bool ReadQueuedError(int fd, uint16_t sequence, uint32_t& from, uint32_t& status) {
  uint8_t quoted[kRequestSize];
  sockaddr_in target{};
  alignas(cmsghdr) uint8_t control[512];
  iovec data{quoted, sizeof quoted};
  msghdr message{};
  message.msg_name = &target;
  message.msg_namelen = sizeof target;
  message.msg_iov = &data;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t received = recvmsg(fd, &message, MSG_ERRQUEUE | MSG_DONTWAIT);
  if (received < 8) return false;
  uint16_t quotedSequence = 0;
  std::memcpy(&quotedSequence, quoted + 6, sizeof quotedSequence);
  if (quotedSequence != sequence) return false;
  for (cmsghdr* entry = CMSG_FIRSTHDR(&message); entry != nullptr;
       entry = CMSG_NXTHDR(&message, entry)) {
    if (entry->cmsg_level != IPPROTO_IP || entry->cmsg_type != IP_RECVERR) continue;
    sock_extended_err error;
    std::memcpy(&error, CMSG_DATA(entry), sizeof error);
    if (error.ee_origin != SO_EE_ORIGIN_ICMP) return false;
    if (error.ee_type == ICMP_TIME_EXCEEDED) {
      status = kEchoStatusTtlExpired;
    } else if (error.ee_type == ICMP_DEST_UNREACH) {
      status = UnreachableStatus(error.ee_code);
    } else {
      return false;
    }
    sockaddr_in offender;
    std::memcpy(&offender, SO_EE_OFFENDER(reinterpret_cast<sock_extended_err*>(CMSG_DATA(entry))),
                sizeof offender);
    from = offender.sin_addr.s_addr;
    return true;
  }
  return false;
}

uint16_t NextSequence() {
  static std::atomic<uint16_t> sequence{0};
  return static_cast<uint16_t>(sequence.fetch_add(1) + 1);
}

}  // namespace

int EchoSocketTypeNamed(const Text& name) {
  if (name == L"datagram") return SOCK_DGRAM;
  if (name == L"raw") return SOCK_RAW;
  return 0;
}

bool CanOpenEchoSocket(int type) {
  return Descriptor(socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP)).valid();
}

uint32_t EchoTransferFailure(int error) {
  return error == ENOMEM || error == ENOBUFS ? kErrorOutOfMemory : kErrorUnexpectedNetError;
}

bool SendEcho(EchoSocket& echo, int type, uint32_t address, uint32_t ttl, int dataSize) {
  echo.datagram = type == SOCK_DGRAM;
  echo.fd = Descriptor(socket(AF_INET, type | SOCK_CLOEXEC | SOCK_NONBLOCK, IPPROTO_ICMP));
  if (!echo.fd.valid()) {
    SetThreadLastError(OpenFailure(errno));
    return false;
  }
  const int fd = echo.fd.get();
  const int timeToLive = static_cast<int>(ttl);
  setsockopt(fd, IPPROTO_IP, IP_TTL, &timeToLive, sizeof timeToLive);

  echo.identifier = EchoIdentifier();
  if (echo.datagram) {
    // Binding to port 0 makes the system pick the identifier, which it writes into every request.
    sockaddr_in local{};
    local.sin_family = AF_INET;
    socklen_t size = sizeof local;
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
      SetThreadLastError(EchoTransferFailure(errno));
      return false;
    }
    std::memcpy(&echo.identifier, &local.sin_port, sizeof echo.identifier);
    // A router's "time exceeded" and "unreachable" arrive on the error queue.
    const int on = 1;
    setsockopt(fd, IPPROTO_IP, IP_RECVERR, &on, sizeof on);
  } else {
    // Echo replies and the two error reports; the requests of this host would otherwise arrive.
    icmp_filter filter{};
    filter.data = ~(1u << ICMP_ECHOREPLY | 1u << ICMP_TIME_EXCEEDED | 1u << ICMP_DEST_UNREACH);
    setsockopt(fd, SOL_RAW, ICMP_FILTER, &filter, sizeof filter);
  }

  echo.sequence = NextSequence();
  echo.dataSize = std::clamp(dataSize, 12 - 8, kMaxEchoDataSize);
  const int requestSize = 8 + echo.dataSize;
  WriteEchoRequest(echo.request, requestSize, echo.sequence, echo.identifier);
  if (!echo.datagram) KeepOnlyTheAnswersTo(fd, echo.request);

  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_addr.s_addr = address;
  echo.sent = std::chrono::steady_clock::now();
  if (sendto(fd, echo.request, requestSize, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) !=
      requestSize) {
    SetThreadLastError(EchoTransferFailure(errno));
    return false;
  }
  return true;
}

EchoRead ReadEcho(EchoSocket& echo, bool errorQueued, EchoResult& result) {
  const auto answered = [&](uint32_t from, uint32_t status) {
    result.replyAddress = from;
    result.roundTripTime =
        static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now() - echo.sent)
                                  .count());
    result.status = status;
    return EchoRead::kAnswer;
  };
  const int fd = echo.fd.get();
  if (echo.datagram && errorQueued) {
    uint32_t from = 0;
    uint32_t status = 0;
    if (ReadQueuedError(fd, echo.sequence, from, status)) return answered(from, status);
    return EchoRead::kNothing;
  }
  uint8_t packet[kStandInHeader + kReceiveSize];
  sockaddr_in from{};
  socklen_t fromSize = sizeof from;
  uint8_t* const into = echo.datagram ? packet + kStandInHeader : packet;
  const ssize_t received =
      recvfrom(fd, into, kReceiveSize, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &fromSize);
  if (received < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return EchoRead::kNothing;
    SetThreadLastError(EchoTransferFailure(errno));
    return EchoRead::kFailed;
  }
  int length = static_cast<int>(received);
  if (echo.datagram) {
    std::memset(packet, 0, kStandInHeader);
    packet[0] = 0x45;
    length += kStandInHeader;
  } else if (const int type = MatchEchoError(packet, length, echo.sequence, echo.identifier);
             type != 0) {
    return answered(from.sin_addr.s_addr,
                    type == ICMP_TIME_EXCEEDED
                        ? kEchoStatusTtlExpired
                        : UnreachableStatus(packet[(packet[0] & 0x0F) * 4 + 1]));
  }
  // Replies of other echoes, and anything else that isn't our reply, leave the wait running.
  const EchoReplyMatch match = MatchEchoReply(packet, length, echo.sequence, echo.identifier,
                                              echo.request + 8, echo.dataSize);
  if (match == EchoReplyMatch::kOther) return EchoRead::kNothing;
  if (match == EchoReplyMatch::kCorrupted) return EchoRead::kCorrupted;
  return answered(from.sin_addr.s_addr, kEchoStatusSuccess);
}
