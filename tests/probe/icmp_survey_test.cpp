// A whole survey with the real echo against loopback and the responder's test hosts.
#include <gtest/gtest.h>

#include <chrono>

#include "probe/launcher.h"
#include "tests/probe/icmp_test_bed.h"
#include "tests/probe/survey_transcript.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TEST(IcmpSurveyTest, ReportsTheDelayAndLossEachTestHostIsSetUpFor) {
  REQUIRE_ICMP_TEST_BED();
  SurveyTranscript transcript;
  Launcher launcher;
  launcher.AddNodeList({L"127.0.0.1:8887", L"http://localhost:80/"}, Http);
  launcher.AddNodeList({L"198.18.0.13:10000", L"198.18.0.2:10000", L"198.18.0.22:10000",
                        L"198.18.0.32:10000", L"198.18.0.42:10000"},
                       Rtpp);
  launcher.AddNodeList({L"http://no-such-node.invalid:5060/"}, Sip);

  const auto start = Clock::now();
  ASSERT_TRUE(launcher.SurveyNodes());
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 2000ms);
  EXPECT_LT(took, 3000ms);

  ASSERT_EQ(launcher.results.size(), 8u);
  const auto& r = launcher.results;
  EXPECT_EQ(r[0].address, L"127.0.0.1");
  EXPECT_EQ(r[0].lost, 0);
  EXPECT_LE(r[0].delay, 5);
  EXPECT_EQ(r[1].address, L"127.0.0.1") << "a name is shown and probed by its address";
  EXPECT_EQ(r[1].lost, 0);

  EXPECT_EQ(r[2].address, L"198.18.0.13");  // 30 ms
  EXPECT_EQ(r[2].lost, 0);
  EXPECT_GE(r[2].delay, 30);
  EXPECT_LE(r[2].delay, 38);
  EXPECT_EQ(r[3].lost, 0);  // prompt
  EXPECT_LE(r[3].delay, 5);
  EXPECT_GE(r[4].lost, 40);  // every 2nd echo dropped
  EXPECT_LE(r[4].lost, 60);
  EXPECT_EQ(r[5].lost, 100);  // every echo dropped
  EXPECT_EQ(r[5].delay, 1);
  EXPECT_EQ(r[6].lost, 100) << "corrupted echoes count as lost";
  EXPECT_EQ(r[7].address, L"no-such-node.invalid");
  EXPECT_EQ(r[7].lost, 100);

  const TextList lines = transcript.ListLines();
  ASSERT_EQ(lines.size(), 1u + 8u + 1u + 1u + 8u + 1u);
  EXPECT_EQ(lines[2], L"Http 测试节点：http://localhost:80/，IP：127.0.0.1");
  EXPECT_EQ(lines[8], L"Sip 测试节点：http://no-such-node.invalid:5060/，IP：no-such-node.invalid");
  EXPECT_EQ(lines[10], L"Successed ---> 测试服务器节点延时 Ping");
  EXPECT_EQ(lines[13],
            L"Server type:Rtpp, URL:198.18.0.13, Delay:" + ToText(r[2].delay) + L", Lost:0");
  EXPECT_EQ(lines[16], L"Server type:Rtpp, URL:198.18.0.32, Delay:1, Lost:100");

  EXPECT_NE(launcher.bestNodes[Rtpp], L"198.18.0.13:10000") << "the 30 ms node is the slowest";
  EXPECT_EQ(launcher.bestNodes.count(Sip), 0u);
}

}  // namespace
