#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "probe/echo_reply.h"
#include "probe/last_error.h"
#include "probe/ping.h"
#include "support/platform_process.h"

namespace {

uint16_t WordAt(const std::vector<uint8_t>& bytes, size_t offset) {
  uint16_t value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

void PutWord(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// An IPv4 packet of `headerWords` 32-bit words carrying an ICMP message of `icmpSize` bytes.
std::vector<uint8_t> ReplyPacket(int headerWords, uint8_t type, uint16_t identifier,
                                 uint16_t sequence, size_t icmpSize = 40) {
  const size_t header = static_cast<size_t>(headerWords) * 4;
  std::vector<uint8_t> packet(header + icmpSize, 0x45);
  packet[0] = static_cast<uint8_t>(0x40 | headerWords);
  packet[header] = type;
  packet[header + 1] = 0;
  PutWord(packet, header + 4, identifier);
  PutWord(packet, header + 6, sequence);
  return packet;
}

TEST(ChecksumTest, FollowsRfc1071InMachineOrder) {
  CPing ping;
  // The example of RFC 1071: the sum is ddf2 in network order, the checksum 220d.
  const uint8_t example[] = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
  const uint16_t checksum = ping.Checksum(example, sizeof example);
  uint8_t stored[2];
  std::memcpy(stored, &checksum, 2);
  EXPECT_EQ(stored[0], 0x22);
  EXPECT_EQ(stored[1], 0x0d);

  // An odd last byte is added by its value alone.
  const uint8_t odd[] = {0x01, 0x02, 0x03};
  EXPECT_EQ(ping.Checksum(odd, 3), static_cast<uint16_t>(~(0x0201 + 0x03)));
  // Carries are folded back: ffff + ffff is ffff after folding, its complement 0.
  const uint8_t ones[] = {0xff, 0xff, 0xff, 0xff};
  EXPECT_EQ(ping.Checksum(ones, 4), 0);
  EXPECT_EQ(ping.Checksum(ones, 0), 0xffff);
}

TEST(ChecksumTest, BufferHoldingItsOwnChecksumGivesZero) {
  CPing ping;
  for (int size : {12, 13, 40, 41}) {
    std::vector<uint8_t> packet(static_cast<size_t>(size));
    ping.BuildEchoRequest(packet.data(), size, 0x1234, 0xbeef);
    EXPECT_EQ(ping.Checksum(packet.data(), size), 0) << "size " << size;
  }
}

TEST(BuildEchoRequestTest, ABufferTooSmallForTheHeaderIsLeftAloneAndGivesZero) {
  CPing ping;
  for (int size : {-1, 0, 1, 11}) {
    std::vector<uint8_t> packet(16, 0xAA);
    EXPECT_EQ(ping.BuildEchoRequest(packet.data(), size, 1, 2), 0) << "size " << size;
    EXPECT_EQ(packet, std::vector<uint8_t>(16, 0xAA)) << "size " << size;
  }
}

TEST(BuildEchoRequestTest, LaysOutTheRequestAsGiven) {
  CPing ping;
  std::vector<uint8_t> packet(40, 0);
  const uint32_t before = platform::TickCount();
  const uint16_t checksum = ping.BuildEchoRequest(packet.data(), 40, 0x0102, 0xa0b0);
  const uint32_t after = platform::TickCount();

  EXPECT_EQ(packet[0], 8);
  EXPECT_EQ(packet[1], 0);
  EXPECT_EQ(WordAt(packet, 2), checksum);
  EXPECT_EQ(WordAt(packet, 4), 0xa0b0);  // no byte-order conversion
  EXPECT_EQ(WordAt(packet, 6), 0x0102);
  uint32_t tick;
  std::memcpy(&tick, packet.data() + 8, 4);
  EXPECT_LE(tick - before, after - before);
  for (size_t i = 12; i < packet.size(); ++i) EXPECT_EQ(packet[i], 0x45) << "byte " << i;
}

class CheckEchoReplyTest : public ::testing::Test {
 protected:
  void SetUp() override { SetThreadLastError(1234); }
  CPing ping;
  int notOurs = -1;
};

TEST_F(CheckEchoReplyTest, AcceptsOurReplyBehindAnyHeaderLength) {
  for (int words : {5, 6, 15}) {
    const auto packet = ReplyPacket(words, 0, EchoIdentifier(), 7);
    notOurs = -1;
    EXPECT_TRUE(ping.CheckEchoReply(packet.data(), static_cast<int>(packet.size()), 7, notOurs));
    EXPECT_EQ(notOurs, 0);
  }
  EXPECT_EQ(GetThreadLastError(), 1234u);
}

TEST_F(CheckEchoReplyTest, ShortPacketIsAnError) {
  const auto packet = ReplyPacket(6, 0, EchoIdentifier(), 7);
  EXPECT_FALSE(ping.CheckEchoReply(packet.data(), 24 + 11, 7, notOurs));
  EXPECT_EQ(notOurs, 1);
  EXPECT_EQ(GetThreadLastError(), kErrorUnexpectedNetError);
  SetThreadLastError(1234);
  EXPECT_FALSE(ping.CheckEchoReply(packet.data(), 0, 7, notOurs));
  EXPECT_EQ(GetThreadLastError(), kErrorUnexpectedNetError);
}

TEST_F(CheckEchoReplyTest, ForeignIdentifierOrSequenceIsNotOurs) {
  const uint16_t foreign = static_cast<uint16_t>(EchoIdentifier() ^ 0x5a5a);
  auto packet = ReplyPacket(5, 0, foreign, 7);
  EXPECT_FALSE(ping.CheckEchoReply(packet.data(), static_cast<int>(packet.size()), 7, notOurs));
  EXPECT_EQ(notOurs, 1);
  packet = ReplyPacket(5, 0, EchoIdentifier(), 8);
  notOurs = -1;
  EXPECT_FALSE(ping.CheckEchoReply(packet.data(), static_cast<int>(packet.size()), 7, notOurs));
  EXPECT_EQ(notOurs, 1);
  EXPECT_EQ(GetThreadLastError(), 1234u) << "not ours is no error";
}

TEST_F(CheckEchoReplyTest, OursButNoReplyIsAnError) {
  const auto packet = ReplyPacket(5, 8, EchoIdentifier(), 7);
  EXPECT_FALSE(ping.CheckEchoReply(packet.data(), static_cast<int>(packet.size()), 7, notOurs));
  EXPECT_EQ(notOurs, 0);
  EXPECT_EQ(GetThreadLastError(), kErrorUnexpectedNetError);
}

TEST_F(CheckEchoReplyTest, GivenIdentifierReplacesTheProcessOne) {
  const auto packet = ReplyPacket(5, 0, 0x4242, 9);
  EXPECT_TRUE(
      CheckEchoReplyFor(packet.data(), static_cast<int>(packet.size()), 9, 0x4242, notOurs));
  EXPECT_EQ(notOurs, 0);
}

TEST(MatchEchoReplyTest, OursEchoesAPrefixOfWhatWasSentAnythingElseIsCorruptedOrOther) {
  std::vector<uint8_t> sent(kEchoDataSize, 0x45);
  sent[0] = 0x11;
  struct Case {
    const char* name;
    size_t echoed;    // data bytes after the ICMP header
    int changedByte;  // one data byte altered, or -1
    uint16_t identifier;
    EchoReplyMatch match;
  };
  const Case cases[] = {
      {"all of it", 32, -1, 0x4242, EchoReplyMatch::kOurs},
      {"the 4 bytes the check needs", 4, -1, 0x4242, EchoReplyMatch::kOurs},
      {"fewer than 4 bytes", 3, -1, 0x4242, EchoReplyMatch::kOther},
      {"one byte more than sent", 33, -1, 0x4242, EchoReplyMatch::kCorrupted},
      {"a changed byte", 32, 31, 0x4242, EchoReplyMatch::kCorrupted},
      {"someone else's", 32, -1, 0x4243, EchoReplyMatch::kOther},
  };
  for (const Case& c : cases) {
    auto packet = ReplyPacket(6, 0, c.identifier, 9, 8 + c.echoed);
    std::copy_n(sent.begin(), std::min<size_t>(c.echoed, sent.size()), packet.begin() + 24 + 8);
    if (c.changedByte >= 0) packet[24 + 8 + static_cast<size_t>(c.changedByte)] ^= 1;
    EXPECT_EQ(
        MatchEchoReply(packet.data(), static_cast<int>(packet.size()), 9, 0x4242, sent.data()),
        c.match)
        << c.name;
  }
}

TEST(EchoedDataIntactTest, DataMustLieWhollyInsideTheReplyAndBeTheEchoByte) {
  std::vector<unsigned char> reply(60, 0x45);
  reply[0] = 0;
  const auto at = [&](std::ptrdiff_t offset) {
    return reinterpret_cast<std::uintptr_t>(reply.data()) + static_cast<std::uintptr_t>(offset);
  };
  struct Case {
    const char* name;
    std::uintptr_t data;
    size_t size;
    bool intact;
  };
  const Case cases[] = {
      {"the echoed bytes at the end", at(28), 32, true},
      {"up to the last byte", at(59), 1, true},
      {"one byte past the end", at(28), 33, false},
      {"starting at the end", at(60), 1, false},
      {"before the buffer", at(-1), 1, false},
      {"a byte that was not sent", at(0), 2, false},
      {"no data anywhere", 0, 0, true},
      {"a size that wraps the address space", at(28), SIZE_MAX, false},
      {"at the top of the address space", UINTPTR_MAX, 1, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EchoedDataIntact(reply.data(), reply.size(), c.data, c.size), c.intact) << c.name;
  }
}

}  // namespace
