// The two ICMP sockets behind the Linux echo.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "probe/last_error.h"
#include "probe/ping.h"
#include "tests/probe/icmp_test_bed.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class IcmpSocketTest : public ::testing::TestWithParam<const wchar_t*> {
 protected:
  void SetUp() override { REQUIRE_ICMP_TEST_BED(); }
};

TEST_P(IcmpSocketTest, AnswersLoopbackAndTestHosts) {
  CPing ping(GetParam(), L"");
  ASSERT_TRUE(ping.loaded()) << "netns-run allows datagram ICMP sockets; root has raw ones";
  EchoResult result;
  ASSERT_TRUE(ping.Ping(result, L"127.0.0.3", 500)) << "last error " << GetThreadLastError();
  EXPECT_EQ(result.replyAddress, Ipv4(127, 0, 0, 3));
  ASSERT_TRUE(ping.Ping(result, L"198.18.0.11", 500));
  EXPECT_GE(result.roundTripTime, 29u);
  EXPECT_LE(result.roundTripTime, 60u);
  EXPECT_FALSE(ping.Ping(result, L"198.18.0.41", 500));
  EXPECT_EQ(GetThreadLastError(), kErrorUnexpectedNetError);
}

TEST_P(IcmpSocketTest, OtherEchoesRepliesNeitherCountNorEndTheWait) {
  CPing ping(GetParam(), L"");
  ASSERT_TRUE(ping.loaded());
  // Another thread of this process echoes loopback as fast as it can meanwhile; a raw socket
  // sees all of those replies, with this process's identifier on them.
  std::atomic<bool> stop{false};
  std::atomic<int> answered{0};
  std::thread flood([&] {
    CPing other(L"raw", L"");
    EchoResult result;
    for (int i = 0; i < 100000 && !stop; ++i) {
      if (other.Ping(result, L"127.0.0.1", 100)) ++answered;
    }
  });
  EchoResult result;
  const auto start = Clock::now();
  EXPECT_FALSE(ping.Ping(result, L"198.18.0.51", 300));
  const auto took = Clock::now() - start;
  EXPECT_EQ(GetThreadLastError(), kEchoTimedOut);
  EXPECT_GE(took, 295ms);
  EXPECT_TRUE(ping.Ping(result, L"198.18.0.12", 500));  // the 30 ms host
  // Its own reply, not one of the flood's; a busy machine may delay it, never hasten it.
  EXPECT_EQ(result.replyAddress, Ipv4(198, 18, 0, 12));
  EXPECT_GE(result.roundTripTime, 29u);
  stop = true;
  flood.join();
  EXPECT_GT(answered, 10);
}

INSTANTIATE_TEST_SUITE_P(Kinds, IcmpSocketTest, ::testing::Values(L"datagram", L"raw"));

TEST(IcmpSocketChoiceTest, UnknownKindIsSkipped) {
  CPing ping(L"carrier-pigeon", L"raw");
  EXPECT_TRUE(ping.loaded());
  CPing none(L"carrier-pigeon", L"");
  EXPECT_FALSE(none.loaded());
}

}  // namespace
