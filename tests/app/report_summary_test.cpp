#include <algorithm>

#include <gtest/gtest.h>

#include "app/call_quality.h"
#include "app/report_text.h"
#include "probe/node_type.h"

namespace {

NodeResult Node(int32_t type, const Text& address, int32_t delay, int32_t lost,
                std::vector<uint32_t> trips = {5, 5}, int32_t echoes = 20, bool resolved = true) {
  NodeResult node;
  node.type = type;
  node.address = address;
  node.url = address + L":10000";
  node.delay = delay;
  node.lost = lost;
  node.roundTrips = std::move(trips);
  node.echoes = echoes;
  node.resolved = resolved;
  return node;
}

// An ended run: the IM server accepted, its direct node connected, one survey of `nodes`, whose
// Rtpp nodes the login returned.
RunOutcome EndedRun(const std::vector<NodeResult>& nodes) {
  RunOutcome outcome;
  outcome.acceptedLogins = {{L"http://127.0.0.2:8887/", true}};
  outcome.tcpTests = {{L"127.0.0.6:5060", 0, 0, TcpTest::Result::kConnected}};
  outcome.surveys = {nodes};
  for (const NodeResult& node : nodes)
    if (node.type == Rtpp) outcome.rtppNodes.push_back(node.url);
  outcome.ended = true;
  return outcome;
}

const wchar_t* const kLogin = L"登陆成功：http://127.0.0.2:8887/（IM 服务器）";
const wchar_t* const kConnected = L"TCP 连接成功：直连节点 127.0.0.6:5060";
const wchar_t* const kIcmpHint =
    L"所有 Sip 和 Rtpp 节点都没有回应 Ping，但 TCP 连接成功：可能是网络屏蔽了 "
    L"ICMP，节点不一定有故障";

TEST(ReportSummaryTest, WorstRtppNodeByLossBeforeDelayAndTheFirstOfEquals) {
  const RunOutcome outcome =
      EndedRun({Node(Sip, L"127.0.0.2", 1, 0), Node(Rtpp, L"198.18.0.61", 280, 0),
                Node(Rtpp, L"198.18.0.71", 3, 25), Node(Rtpp, L"198.18.0.72", 3, 25)});
  const TextList summary = ReportSummary(outcome);
  ASSERT_GE(summary.size(), 3u);
  EXPECT_EQ(summary[2], L"Rtpp 节点中最差的：198.18.0.71，丢包 25%，延时 3 ms");
}

TEST(ReportSummaryTest, OnlyTheRtppNodesThisRunsLoginsReturned) {
  // The launcher kept an earlier run's silent node, which this run surveyed again.
  RunOutcome outcome = EndedRun({Node(Sip, L"127.0.0.2", 1, 0), Node(Rtpp, L"198.18.0.14", 31, 0)});
  outcome.surveys[0].push_back(Node(Rtpp, L"198.18.0.52", 1, 100, {}, 4));
  EXPECT_EQ(ReportSummary(outcome),
            (TextList{kLogin, kConnected, L"Rtpp 节点中最差的：198.18.0.14，丢包 0%，延时 31 ms",
                      L"通话质量（Rtpp 节点）",
                      L"198.18.0.14：延时 31 ms，抖动 0 ms，丢包 0%，回显 20 次 — 好"}));

  outcome.rtppNodes.clear();
  outcome.surveys[0] = {Node(Sip, L"198.18.0.53", 1, 100, {}, 4),
                        Node(Rtpp, L"198.18.0.52", 1, 100, {}, 4)};
  EXPECT_EQ(ReportSummary(outcome),
            (TextList{kLogin, kConnected, L"本次登陆没有返回 Rtpp 节点", kIcmpHint}))
      << "the silent Sip node alone makes the hint; the earlier run's node is not named";
}

TEST(ReportSummaryTest, NoRtppNodeAndNoLogin) {
  RunOutcome outcome;
  outcome.ended = true;
  EXPECT_EQ(ReportSummary(outcome), (TextList{L"没有登陆服务器接受登陆", L"没有进行 TCP 连接测试",
                                              L"本次登陆没有返回 Rtpp 节点"}));
  EXPECT_EQ(ReportSummary(std::nullopt), TextList{L"没有测试结果"});
}

TEST(ReportSummaryTest, AllNodesSilentWhileTcpConnectedHintsAtBlockedIcmp) {
  RunOutcome outcome =
      EndedRun({Node(Http, L"127.0.0.2", 1, 0), Node(Sip, L"198.18.0.51", 1, 100, {}, 4),
                Node(Rtpp, L"198.18.0.52", 1, 100, {}, 5)});
  EXPECT_EQ(ReportSummary(outcome),
            (TextList{kLogin, kConnected, L"Rtpp 节点中最差的：198.18.0.52，丢包 100%", kIcmpHint,
                      L"通话质量（Rtpp 节点）", L"198.18.0.52：丢包 100%，回显 5 次 — 无回应"}))
      << "a login server that answers does not count";

  outcome.tcpTests[0].result = TcpTest::Result::kFailed;
  const TextList failed = ReportSummary(outcome);
  EXPECT_EQ(std::count(failed.begin(), failed.end(), kIcmpHint), 0) << "no TCP connection";

  outcome = EndedRun({Node(Sip, L"198.18.0.51", 1, 100, {}, 4),
                      Node(Rtpp, L"198.18.0.52", 1, 100, {}, 4), Node(Rtpp, L"198.18.0.2", 1, 0)});
  const TextList oneAnswers = ReportSummary(outcome);
  EXPECT_EQ(std::count(oneAnswers.begin(), oneAnswers.end(), kIcmpHint), 0) << "one node answers";
}

TEST(ReportSummaryTest, AnUnresolvedNodeIsNotSilent) {
  const NodeResult nowhere = Node(Rtpp, L"nowhere.quorvex.test", 1, 100, {}, 4, false);
  RunOutcome outcome = EndedRun({Node(Sip, L"127.0.0.2", 1, 100, {}, 4, false), nowhere});
  const TextList unresolved = ReportSummary(outcome);
  EXPECT_EQ(std::count(unresolved.begin(), unresolved.end(), kIcmpHint), 0);
  EXPECT_EQ(unresolved.back(), L"nowhere.quorvex.test：丢包 100%，回显 4 次 — 无回应");

  outcome = EndedRun({Node(Sip, L"198.18.0.51", 1, 100, {}, 4), nowhere});
  const TextList resolvedSilent = ReportSummary(outcome);
  EXPECT_EQ(std::count(resolvedSilent.begin(), resolvedSilent.end(), kIcmpHint), 1)
      << "the resolved node stayed silent";
}

TEST(ReportSummaryTest, ARunStillUnderWaySaysSoAndClaimsNothingMissing) {
  RunOutcome outcome;
  outcome.acceptedLogins = {{L"http://127.0.0.3/kelo_http/", false}};
  outcome.tcpTests = {{L"127.0.0.6:5061", 1, 2, TcpTest::Result::kFailed},
                      {L"127.0.0.6:5060", 2, 2, TcpTest::Result::kPending}};
  EXPECT_EQ(ReportSummary(outcome),
            (TextList{L"测试仍在进行，以下是目前的结果",
                      L"登陆成功：http://127.0.0.3/kelo_http/（WAP 网关）",
                      L"没有 TCP 节点连接成功：1 个节点连接失败", L"没有 Rtpp 节点的测量结果"}));
}

TEST(ReportSummaryTest, CallQualityWorstFirstOnceEachNode) {
  const std::vector<NodeResult> rtpp = {
      Node(Rtpp, L"198.18.0.14", 30, 0, {30, 33, 30, 31}, 62),
      Node(Rtpp, L"198.18.0.184", 201, 0, {201, 201}, 10),
      Node(Rtpp, L"198.18.0.194", 50, 0, {20, 80, 20, 80}, 40),
      Node(Rtpp, L"198.18.0.27", 1, 50, {1, 1, 1, 1}, 8),
      Node(Rtpp, L"198.18.0.3", 400, 0, {400, 400, 400}, 4),
      Node(Rtpp, L"198.18.0.57", 1, 100, {}, 4),
      Node(Rtpp, L"198.18.0.14", 31, 2, {31, 31}, 60),  // again, from a second login: fair
      Node(Rtpp, L"198.18.0.15", 31, 0, {31}, 1),
  };
  EXPECT_EQ(
      CallQualityLines(rtpp),
      (TextList{L"通话质量（Rtpp 节点）", L"198.18.0.57：丢包 100%，回显 4 次 — 无回应",
                L"198.18.0.27：延时 1 ms，抖动 0 ms，丢包 50%，回显 8 次 — 差",
                L"198.18.0.194：延时 50 ms，抖动 60 ms，丢包 0%，回显 40 次 — 差",
                L"198.18.0.3：延时 400 ms，抖动 0 ms，丢包 0%，回显 4 次 — 回显太少，无法判断",
                L"198.18.0.15：延时 31 ms，丢包 0%，回显 1 次 — 回显太少，无法判断",
                L"198.18.0.14：延时 31 ms，抖动 0 ms，丢包 2%，回显 60 次 — 一般",
                L"198.18.0.184：延时 201 ms，抖动 0 ms，丢包 0%，回显 10 次 — 一般"}));
  EXPECT_EQ(Jitter(rtpp[0]), 2u) << "(3 + 3 + 1) / 3, in whole ms";
  EXPECT_TRUE(CallQualityLines({}).empty());
}

}  // namespace
