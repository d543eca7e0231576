// Tests that send ICMP run only inside scripts/netns-run, where the ICMP responder serves the
// test hosts 198.18.0.0/24 on qtun0 (sim/icmp/README.md) and the kernel answers loopback.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#define REQUIRE_ICMP_TEST_BED()                                                    \
  ASSERT_NE(std::getenv("QUORVEX_ICMP_SIM_RUNNING"), nullptr)                      \
      << "sends ICMP: run inside scripts/netns-run with the ICMP responder built " \
         "(build/linux/sim/icmp/quorvex-icmp-sim)"

// A dotted IPv4 address in network byte order.
inline uint32_t Ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
  const uint8_t bytes[4] = {a, b, c, d};
  uint32_t value;
  static_assert(sizeof value == sizeof bytes);
  std::memcpy(&value, bytes, 4);
  return value;
}
