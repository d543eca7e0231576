// One echo against loopback and the responder's test hosts, through the platform's facility.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "probe/last_error.h"
#include "probe/ping.h"
#include "tests/probe/icmp_test_bed.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

class IcmpEchoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    REQUIRE_ICMP_TEST_BED();
    ASSERT_TRUE(ping.loaded());
  }
  CPing ping;
  EchoResult result;
};

TEST_F(IcmpEchoTest, LoopbackAnswersFromTheAddressPinged) {
  ASSERT_TRUE(ping.Ping(result, L"127.0.0.1", 500)) << "last error " << GetThreadLastError();
  EXPECT_EQ(result.replyAddress, Ipv4(127, 0, 0, 1));
  EXPECT_LE(result.roundTripTime, 50u);
  EXPECT_EQ(result.status, 0u);
  ASSERT_TRUE(ping.Ping(result, L"127.0.0.2", 500));
  EXPECT_EQ(result.replyAddress, Ipv4(127, 0, 0, 2));
  ASSERT_TRUE(ping.Ping(result, L"localhost", 500)) << "a name is resolved";
  EXPECT_EQ(result.replyAddress, Ipv4(127, 0, 0, 1));
}

TEST_F(IcmpEchoTest, DelayedHostReportsItsDelay) {
  // The fastest of a few, so that one echo held up by a busy machine doesn't count.
  uint32_t fastest = UINT32_MAX;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(ping.Ping(result, L"198.18.0.10", 500)) << "last error " << GetThreadLastError();
    EXPECT_EQ(result.replyAddress, Ipv4(198, 18, 0, 10));
    EXPECT_GE(result.roundTripTime, 29u);
    fastest = std::min(fastest, result.roundTripTime);
  }
  EXPECT_LE(fastest, 40u);
}

TEST_F(IcmpEchoTest, SilentHostTimesOutAfterTheTimeOut) {
  result.roundTripTime = 777;
  const auto start = Clock::now();
  EXPECT_FALSE(ping.Ping(result, L"198.18.0.50", 200));
  const auto took = Clock::now() - start;
  EXPECT_EQ(GetThreadLastError(), kEchoTimedOut);
  EXPECT_GE(took, 190ms);
  EXPECT_LT(took, 700ms);
  EXPECT_EQ(result.roundTripTime, 777u) << "untouched on failure";
}

TEST_F(IcmpEchoTest, CorruptedEchoFailsWithUnexpectedNetError) {
  result.roundTripTime = 777;
  EXPECT_FALSE(ping.Ping(result, L"198.18.0.40", 500));
  EXPECT_EQ(GetThreadLastError(), kErrorUnexpectedNetError);
  EXPECT_EQ(result.roundTripTime, 777u);
}

TEST_F(IcmpEchoTest, UnreachableReportIsNoAnswer) {
  result.roundTripTime = 777;
  EXPECT_FALSE(ping.Ping(result, L"198.18.0.80", 300));
  // The report ends the echo with its status (11003), as the ICMP library hands it over.
  EXPECT_EQ(GetThreadLastError(), 11003u);
  EXPECT_EQ(result.roundTripTime, 777u);
}

TEST_F(IcmpEchoTest, UnresolvableNameFailsAtOnce) {
  // Inside the namespace no resolver is reachable, so nothing leaves the machine.
  const auto start = Clock::now();
  EXPECT_FALSE(ping.Ping(result, L"no-such-node.invalid", 500));
  EXPECT_NE(GetThreadLastError(), 0u);
  EXPECT_LT(Clock::now() - start, 450ms);
}

TEST(IcmpNoLibraryTest, EveryEchoFailsWithCallNotImplemented) {
  CPing none(L"quorvex-no-such-library.dll", L"");
  EXPECT_FALSE(none.loaded());
  EchoResult result;
  SetThreadLastError(0);
  EXPECT_FALSE(none.Ping(result, L"127.0.0.1", 100));
  EXPECT_EQ(GetThreadLastError(), kErrorCallNotImplemented);
}

}  // namespace
