// Turning an IPv4 ICMP echo request, as read from the TUN device, into its reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// RFC 1071 over `length` bytes (machine-order words; the result is stored the same way).
uint16_t InternetChecksum(const uint8_t* data, size_t length);

struct EchoRequest {
  uint32_t source = 0;       // network byte order
  uint32_t destination = 0;  // network byte order
  uint8_t ttl = 0;           // time to live as the request arrived
  size_t dataSize = 0;       // bytes after the 8-byte ICMP header
};

// True for a well-formed IPv4 packet (header checksum right) carrying an ICMP echo request with
// a right checksum.
bool ParseEchoRequest(const uint8_t* packet, size_t length, EchoRequest& request);

// The reply to a request that ParseEchoRequest accepted: addresses swapped, type 0, identifier,
// sequence and data kept (the data inverted when `corrupt`), both checksums new.
std::vector<uint8_t> MakeEchoReply(const uint8_t* packet, size_t length, bool corrupt);

// The "destination host unreachable" report (type 3, code 1) for a request that ParseEchoRequest
// accepted, sent from the host that was pinged: the request's IPv4 header and first 8 ICMP bytes
// behind the ICMP header, both checksums right.
std::vector<uint8_t> MakeHostUnreachable(const uint8_t* packet, size_t length);

// The "time exceeded in transit" report (type 11, code 0) a router sends for a request that
// ParseEchoRequest accepted: from `router` (network byte order), quoting the request's IPv4
// header as it arrived and its first 8 ICMP bytes, as RFC 792 lays it out.
std::vector<uint8_t> MakeTimeExceeded(const uint8_t* packet, size_t length, uint32_t router);
