#include "probe/echo_reply.h"

#include <cstring>

#include "probe/ping.h"

EchoReplyMatch MatchEchoReply(const uint8_t* packet, int length, uint16_t sequence,
                              uint16_t identifier, const uint8_t* sentData, int sentSize) {
  int notOurs = 1;
  if (!CheckEchoReplyFor(packet, length, sequence, identifier, notOurs)) {
    return EchoReplyMatch::kOther;
  }
  // The check above leaves at least the 8-byte ICMP header and 4 more bytes after the IP header.
  const int header = (packet[0] & 0x0F) * 4;
  const int echoed = length - header - 8;
  if (echoed > sentSize ||
      std::memcmp(packet + header + 8, sentData, static_cast<size_t>(echoed)) != 0) {
    return EchoReplyMatch::kCorrupted;
  }
  return EchoReplyMatch::kOurs;
}

int MatchEchoError(const uint8_t* packet, int length, uint16_t sequence, uint16_t identifier) {
  if (packet == nullptr || length < 1) return 0;
  const int header = (packet[0] & 0x0F) * 4;
  if (header < 20 || length < header + 8 + 20) return 0;
  const uint8_t type = packet[header];
  if (type != 3 && type != 11) return 0;
  const uint8_t* const quote = packet + header + 8;
  const int quotedHeader = (quote[0] & 0x0F) * 4;
  if (quotedHeader < 20 || length < header + 8 + quotedHeader + 8) return 0;
  const uint8_t* const request = quote + quotedHeader;
  uint16_t quotedIdentifier = 0;
  uint16_t quotedSequence = 0;
  std::memcpy(&quotedIdentifier, request + 4, sizeof quotedIdentifier);
  std::memcpy(&quotedSequence, request + 6, sizeof quotedSequence);
  if (request[0] != 8 || quotedIdentifier != identifier || quotedSequence != sequence) return 0;
  return type;
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
