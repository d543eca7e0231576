// The packet checks of the socket echo (CheckEchoReply and the Ping that waits on it, and the
// error reports a trace's echo takes as a router's answer) on any packet the socket could hand
// over. Input: sequence and identifier sent (2 bytes each, machine order),
// the 4 tick bytes of the request, then the packet from its IPv4 header on.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "probe/echo_reply.h"
#include "probe/ping.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr size_t kLead = 8;

uint16_t WordAt(const uint8_t* at) {
  uint16_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// No echo facility is opened: the packet helpers need none.
CPing& Helpers() {
  static CPing* const ping = new CPing(L"", L"");
  return *ping;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kLead || size - kLead > 65535) return 0;
  const uint16_t sequence = WordAt(data);
  const uint16_t identifier = WordAt(data + 2);
  uint8_t sent[kEchoDataSize];
  std::memcpy(sent, data + 4, 4);
  std::memset(sent + 4, 0x45, sizeof sent - 4);

  // The packet in a buffer of exactly its size, so that a read past its end is caught.
  const int length = static_cast<int>(size - kLead);
  const std::unique_ptr<uint8_t[]> packet(new uint8_t[static_cast<size_t>(length)]);
  std::memcpy(packet.get(), data + kLead, static_cast<size_t>(length));

  int notOurs = -1;
  const bool accepted = CheckEchoReplyFor(packet.get(), length, sequence, identifier, notOurs);
  Check(notOurs == 0 || notOurs == 1, "notOurs is 0 or 1");
  if (accepted) {
    const int header = (packet[0] & 0x0F) * 4;
    Check(notOurs == 0, "an accepted reply is ours");
    Check(length >= header + 12, "an accepted reply holds the ICMP header and 4 bytes");
    Check(packet[header] == 0, "an accepted reply is an echo reply");
    Check(WordAt(packet.get() + header + 4) == identifier &&
              WordAt(packet.get() + header + 6) == sequence,
          "an accepted reply carries our identifier and sequence number");
  }

  int notOursProcess = -1;
  int notOursMember = -1;
  Check(
      Helpers().CheckEchoReply(packet.get(), length, sequence, notOursMember) ==
              CheckEchoReplyFor(packet.get(), length, sequence, EchoIdentifier(), notOursProcess) &&
          notOursMember == notOursProcess,
      "CheckEchoReply checks with the process's identifier");

  const EchoReplyMatch match = MatchEchoReply(packet.get(), length, sequence, identifier, sent);
  Check((match == EchoReplyMatch::kOther) == !accepted, "only an accepted reply is matched");
  if (match == EchoReplyMatch::kOurs) {
    const int echoed = length - (packet[0] & 0x0F) * 4 - 8;
    Check(echoed <= kEchoDataSize &&
              std::memcmp(packet.get() + length - echoed, sent, static_cast<size_t>(echoed)) == 0,
          "our reply echoes the start of what was sent");
  }
  const int error = MatchEchoError(packet.get(), length, sequence, identifier);
  Check(error == 0 || error == 3 || error == 11, "an error report is unreachable or time exceeded");
  Check(error == 0 || !accepted, "nothing is both a reply and an error report");
  return 0;
}
