#include "sim/icmp/host_table.h"

#include <arpa/inet.h>

namespace {

struct Row {
  uint8_t first, last;  // last octets, inclusive
  HostBehaviour behaviour;
};

constexpr uint32_t kJitterDelays[] = {20, 80};

// One chain per host, with routers of its own: tests that trace at the same time share no
// router's counters. Hop fields: octet, delay, drop every, silent every, forwards nothing.
constexpr Hop kLossFromHop2[] = {{11}, {12, 0, 3}, {13}};
constexpr Hop kLossFromHop1[] = {{21, 0, 3}, {22}};
constexpr Hop kLossAtNode[] = {{31}, {32}};
constexpr Hop kRateLimited[] = {{41}, {42, 0, 0, 2}};
constexpr Hop kBrokenAfterHop2[] = {{51}, {52, 0, 0, 0, true}, {53}};
constexpr Hop kDelayJumpAtHop3[] = {{61, 10}, {62}, {63, 180}, {64}};

constexpr HostBehaviour Bursts(uint32_t length, uint32_t every) {
  HostBehaviour behaviour{};
  behaviour.burstLength = length;
  behaviour.burstEvery = every;
  return behaviour;
}

constexpr HostBehaviour Behind(const Hop* hops, uint32_t count, uint32_t delayMs = 0,
                               uint32_t dropEvery = 0) {
  HostBehaviour behaviour{};
  behaviour.delayMs = delayMs;
  behaviour.dropEvery = dropEvery;
  behaviour.hops = hops;
  behaviour.hopCount = count;
  return behaviour;
}

template <size_t N>
constexpr uint32_t Count(const Hop (&)[N]) {
  return static_cast<uint32_t>(N);
}

// Ten hosts per behaviour, so tests that run at the same time need not share one.
constexpr Row kTable[] = {
    {10, 19, {false, 30, 0, false}},       // 30 ms added delay
    {20, 29, {false, 0, 2, false}},        // every 2nd echo dropped: 50 % loss
    {30, 39, {false, 0, 1, false}},        // every echo dropped: 100 % loss
    {40, 49, {false, 0, 0, true}},         // echoed data corrupted
    {50, 59, {true, 0, 0, false}},         // silent
    {60, 69, {false, 100, 0, false}},      // 100 ms added delay
    {70, 79, {false, 0, 4, false}},        // every 4th echo dropped: 25 % loss
    {80, 89, {false, 0, 0, false, true}},  // "host unreachable" in place of the reply
    // Hosts behind routers, one each: the path traces of the whole-run cases.
    {101, 101, Behind(kLossFromHop2, Count(kLossFromHop2))},
    {102, 102, Behind(kLossFromHop1, Count(kLossFromHop1))},
    {103, 103, Behind(kLossAtNode, Count(kLossAtNode), 0, 3)},
    {104, 104, Behind(kRateLimited, Count(kRateLimited), 200)},
    {105, 105, Behind(kBrokenAfterHop2, Count(kBrokenAfterHop2))},
    {106, 106, Behind(kDelayJumpAtHop3, Count(kDelayJumpAtHop3))},
    // Call samples: the last n of every m call-sized echoes dropped.
    {110, 119, Bursts(1, 200)},                                 // 1 in 200
    {120, 129, Bursts(1, 50)},                                  // 1 in 50
    {130, 139, Bursts(5, 100)},                                 // 5 in a row of every 100
    {140, 149, Bursts(15, 300)},                                // 15 in a row of every 300
    {180, 189, {false, 200, 0, false}},                         // 200 ms added delay
    {190, 199, {false, 0, 0, false, false, kJitterDelays, 2}},  // 20, 80, 20, 80 ... ms
};

}  // namespace

bool BehaviourOf(uint32_t host, HostBehaviour& behaviour) {
  const uint32_t value = ntohl(host);
  if ((value & 0xFFFFFF00u) != 0xC6120000u) return false;  // 198.18.0.0/24
  const uint32_t octet = value & 0xFF;
  if (octet <= 1 || octet == 255) return false;  // the network, our own side, broadcast
  behaviour = HostBehaviour{};
  for (const Row& row : kTable) {
    if (octet >= row.first && octet <= row.last) behaviour = row.behaviour;
  }
  return true;
}

uint32_t RouterAddress(const Hop& hop) { return htonl(0xC6120100u | hop.octet); }  // 198.18.1.x
