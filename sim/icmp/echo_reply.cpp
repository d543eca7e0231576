#include "sim/icmp/echo_reply.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t Word(const uint8_t* at) {
  uint16_t value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

size_t HeaderLength(const uint8_t* packet) { return static_cast<size_t>(packet[0] & 0x0F) * 4; }

size_t TotalLength(const uint8_t* packet) {
  return static_cast<size_t>(packet[2]) << 8 | packet[3];
}

// An ICMP error from `from` back to the request's sender, quoting the request's header and first
// 8 ICMP bytes.
std::vector<uint8_t> MakeError(const uint8_t* packet, size_t length, const uint8_t* from,
                               uint8_t type, uint8_t code) {
  const size_t quoted = std::min(length, HeaderLength(packet) + 8);
  const size_t total = 20 + 8 + quoted;
  std::vector<uint8_t> report(total, 0);
  uint8_t* ip = report.data();
  ip[0] = 0x45;
  ip[2] = static_cast<uint8_t>(total >> 8);
  ip[3] = static_cast<uint8_t>(total & 0xFF);
  ip[8] = 64;
  ip[9] = 1;
  std::memcpy(ip + 12, from, 4);
  std::memcpy(ip + 16, packet + 12, 4);
  const uint16_t headerSum = InternetChecksum(ip, 20);
  std::memcpy(ip + 10, &headerSum, 2);

  uint8_t* icmp = ip + 20;
  icmp[0] = type;
  icmp[1] = code;
  std::memcpy(icmp + 8, packet, quoted);
  const uint16_t icmpSum = InternetChecksum(icmp, 8 + quoted);
  std::memcpy(icmp + 2, &icmpSum, 2);
  return report;
}

}  // namespace

uint16_t InternetChecksum(const uint8_t* data, size_t length) {
  uint32_t sum = 0;
  size_t i = 0;
  for (; i + 1 < length; i += 2) sum += Word(data + i);
  if (i < length) {
    uint8_t last[2] = {data[i], 0};
    sum += Word(last);
  }
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

bool ParseEchoRequest(const uint8_t* packet, size_t length, EchoRequest& request) {
  if (length < 20 || (packet[0] >> 4) != 4) return false;
  const size_t header = HeaderLength(packet);
  const size_t total = TotalLength(packet);
  if (header < 20 || total < header + 8 || total > length) return false;
  if (packet[9] != 1) return false;                             // not ICMP
  if ((packet[6] & 0x3F) != 0 || packet[7] != 0) return false;  // a fragment
  if (InternetChecksum(packet, header) != 0) return false;
  const uint8_t* icmp = packet + header;
  if (icmp[0] != 8 || icmp[1] != 0) return false;
  if (InternetChecksum(icmp, total - header) != 0) return false;
  std::memcpy(&request.source, packet + 12, 4);
  std::memcpy(&request.destination, packet + 16, 4);
  request.ttl = packet[8];
  request.dataSize = total - header - 8;
  return true;
}

std::vector<uint8_t> MakeEchoReply(const uint8_t* packet, size_t length, bool corrupt) {
  const size_t header = HeaderLength(packet);
  const size_t total = TotalLength(packet);
  std::vector<uint8_t> reply(packet, packet + (total <= length ? total : length));
  uint8_t* ip = reply.data();
  uint8_t swap[4];
  std::memcpy(swap, ip + 12, 4);
  std::memcpy(ip + 12, ip + 16, 4);
  std::memcpy(ip + 16, swap, 4);
  ip[8] = 64;  // time to live
  ip[10] = ip[11] = 0;
  const uint16_t headerSum = InternetChecksum(ip, header);
  std::memcpy(ip + 10, &headerSum, 2);

  uint8_t* icmp = ip + header;
  const size_t icmpLength = reply.size() - header;
  icmp[0] = 0;
  icmp[2] = icmp[3] = 0;
  if (corrupt) {
    for (size_t i = 8; i < icmpLength; ++i) icmp[i] = static_cast<uint8_t>(~icmp[i]);
  }
  const uint16_t icmpSum = InternetChecksum(icmp, icmpLength);
  std::memcpy(icmp + 2, &icmpSum, 2);
  return reply;
}

std::vector<uint8_t> MakeHostUnreachable(const uint8_t* packet, size_t length) {
  return MakeError(packet, length, packet + 16, 3, 1);
}

std::vector<uint8_t> MakeTimeExceeded(const uint8_t* packet, size_t length, uint32_t router) {
  uint8_t from[4];
  std::memcpy(from, &router, 4);
  return MakeError(packet, length, from, 11, 0);
}
