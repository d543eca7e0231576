#include "probe/echo_reply.h"

#include <cstring>

#include "probe/ping.h"

EchoReplyMatch MatchEchoReply(const uint8_t* packet, int length, uint16_t sequence,
                              uint16_t identifier, const uint8_t* sentData) {
  int notOurs = 1;
  if (!CheckEchoReplyFor(packet, length, sequence, identifier, notOurs)) {
    return EchoReplyMatch::kOther;
  }
  // The check above leaves at least the 8-byte ICMP header and 4 more bytes after the IP header.
  const int header = (packet[0] & 0x0F) * 4;
  const int echoed = length - header - 8;
  if (echoed > kEchoDataSize ||
      std::memcmp(packet + header + 8, sentData, static_cast<size_t>(echoed)) != 0) {
    return EchoReplyMatch::kCorrupted;
  }
  return EchoReplyMatch::kOurs;
}

bool EchoedDataIntact(const unsigned char* reply, size_t replySize, std::uintptr_t data,
                      size_t dataSize) {
  if (dataSize == 0) return true;
  const auto start = reinterpret_cast<std::uintptr_t>(reply);
  if (data < start || data - start > replySize || dataSize > replySize - (data - start)) {
    return false;
  }
  const unsigned char* const echoed = reply + (data - start);
  for (size_t i = 0; i < dataSize; ++i) {
    if (echoed[i] != 0x45) return false;
  }
  return true;
}
