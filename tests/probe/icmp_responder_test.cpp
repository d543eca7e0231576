// The test bed's replies, checked with the probe's own packet helpers.
#include <arpa/inet.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "probe/ping.h"
#include "sim/icmp/echo_reply.h"
#include "sim/icmp/host_table.h"

namespace {

uint32_t Address(const char* dotted) { return inet_addr(dotted); }

// An IPv4 packet from 198.18.0.1 to `to` with the probe's echo request of 40 bytes in it.
std::vector<uint8_t> Request(const char* to, uint16_t sequence, uint16_t identifier) {
  CPing ping;
  std::vector<uint8_t> packet(20 + 40, 0);
  packet[0] = 0x45;
  packet[2] = 0;
  packet[3] = static_cast<uint8_t>(packet.size());
  packet[8] = 50;
  packet[9] = 1;
  const uint32_t from = Address("198.18.0.1");
  const uint32_t destination = Address(to);
  std::memcpy(&packet[12], &from, 4);
  std::memcpy(&packet[16], &destination, 4);
  const uint16_t sum = ping.Checksum(packet.data(), 20);
  std::memcpy(&packet[10], &sum, 2);
  ping.BuildEchoRequest(packet.data() + 20, 40, sequence, identifier);
  return packet;
}

TEST(IcmpResponderTest, ReplyIsWhatTheProbeAccepts) {
  const auto request = Request("198.18.0.2", 77, EchoIdentifier());
  EchoRequest parsed;
  ASSERT_TRUE(ParseEchoRequest(request.data(), request.size(), parsed));
  EXPECT_EQ(parsed.destination, Address("198.18.0.2"));
  EXPECT_EQ(parsed.source, Address("198.18.0.1"));

  const auto reply = MakeEchoReply(request.data(), request.size(), false);
  ASSERT_EQ(reply.size(), request.size());
  EXPECT_EQ(InternetChecksum(reply.data(), 20), 0) << "header checksum";
  EXPECT_EQ(InternetChecksum(reply.data() + 20, 40), 0) << "ICMP checksum";
  EXPECT_EQ(std::memcmp(&reply[12], &request[16], 4), 0);
  EXPECT_EQ(std::memcmp(&reply[16], &request[12], 4), 0);
  EXPECT_EQ(std::memcmp(&reply[24], &request[24], 36), 0) << "identifier, sequence and data kept";

  CPing ping;
  int notOurs = -1;
  EXPECT_TRUE(ping.CheckEchoReply(reply.data(), static_cast<int>(reply.size()), 77, notOurs));
  EXPECT_EQ(notOurs, 0);
}

TEST(IcmpResponderTest, CorruptReplyInvertsOnlyTheData) {
  const auto request = Request("198.18.0.40", 5, 9);
  const auto reply = MakeEchoReply(request.data(), request.size(), true);
  EXPECT_EQ(InternetChecksum(reply.data() + 20, 40), 0);
  EXPECT_EQ(std::memcmp(&reply[24], &request[24], 4), 0);
  for (size_t i = 28; i < reply.size(); ++i) {
    EXPECT_EQ(reply[i], static_cast<uint8_t>(~request[i])) << "byte " << i;
  }
}

TEST(IcmpResponderTest, UnreachableReportQuotesTheRequest) {
  const auto request = Request("198.18.0.80", 3, 4);
  const auto report = MakeHostUnreachable(request.data(), request.size());
  ASSERT_EQ(report.size(), 20u + 8u + 28u);
  EXPECT_EQ(InternetChecksum(report.data(), 20), 0);
  EXPECT_EQ(InternetChecksum(report.data() + 20, report.size() - 20), 0);
  EXPECT_EQ(report[20], 3);
  EXPECT_EQ(report[21], 1);
  EXPECT_EQ(std::memcmp(&report[12], &request[16], 4), 0) << "from the host pinged";
  EXPECT_EQ(std::memcmp(&report[28], request.data(), 28), 0);
  CPing ping;
  int notOurs = -1;
  EXPECT_FALSE(ping.CheckEchoReply(report.data(), static_cast<int>(report.size()), 3, notOurs));
  EXPECT_EQ(notOurs, 1) << "an error report is no reply of ours";
}

TEST(IcmpResponderTest, IgnoresWhatIsNoSoundEchoRequest) {
  EchoRequest parsed;
  auto packet = Request("198.18.0.2", 1, 1);
  EXPECT_FALSE(ParseEchoRequest(packet.data(), 30, parsed)) << "cut short";
  packet[25] ^= 1;
  EXPECT_FALSE(ParseEchoRequest(packet.data(), packet.size(), parsed)) << "ICMP checksum";
  packet = Request("198.18.0.2", 1, 1);
  packet[8] = 49;
  EXPECT_FALSE(ParseEchoRequest(packet.data(), packet.size(), parsed)) << "header checksum";
  packet = MakeEchoReply(Request("198.18.0.2", 1, 1).data(), 60, false);
  EXPECT_FALSE(ParseEchoRequest(packet.data(), packet.size(), parsed)) << "a reply";
}

TEST(IcmpResponderTest, HostTableCoversTheTestNetworkOnly) {
  HostBehaviour behaviour;
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.11"), behaviour));
  EXPECT_EQ(behaviour.delayMs, 30u);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.25"), behaviour));
  EXPECT_EQ(behaviour.dropEvery, 2u);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.33"), behaviour));
  EXPECT_EQ(behaviour.dropEvery, 1u);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.44"), behaviour));
  EXPECT_TRUE(behaviour.corrupt);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.59"), behaviour));
  EXPECT_TRUE(behaviour.silent);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.85"), behaviour));
  EXPECT_TRUE(behaviour.unreachable);
  ASSERT_TRUE(BehaviourOf(Address("198.18.0.200"), behaviour));
  EXPECT_EQ(behaviour.delayMs, 0u);
  EXPECT_EQ(behaviour.dropEvery, 0u);
  EXPECT_FALSE(behaviour.silent || behaviour.corrupt || behaviour.unreachable);
  EXPECT_FALSE(BehaviourOf(Address("198.18.0.1"), behaviour)) << "the namespace's own side";
  EXPECT_FALSE(BehaviourOf(Address("198.18.1.5"), behaviour));
  EXPECT_FALSE(BehaviourOf(Address("127.0.0.1"), behaviour));
}

}  // namespace
