#include <algorithm>

#include <gtest/gtest.h>

#include "app/call_quality.h"
#include "app/path_report.h"
#include "app/report_text.h"
#include "probe/call_verdict.h"
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
  // Running figures as the survey keeps them, consistent with the loss, mean delay and the
  // jitter the trips show.
  node.echoes = echoes;
  node.answered = echoes - echoes * lost / 100;
  node.roundTripSum = static_cast<uint64_t>(delay) * static_cast<uint64_t>(node.answered);
  uint64_t differences = 0;
  for (size_t i = 1; i < trips.size(); ++i)
    differences += trips[i] > trips[i - 1] ? trips[i] - trips[i - 1] : trips[i - 1] - trips[i];
  if (trips.size() > 1 && node.answered > 1)
    node.differenceSum =
        differences * static_cast<uint64_t>(node.answered - 1) / (trips.size() - 1);
  node.resolved = resolved;
  return node;
}

// An ended run: the IM server accepted, its direct node connected, one survey of `nodes`, whose
// Rtpp nodes the login returned, and whose resolved Rtpp nodes' figures are the call sample's too.
RunOutcome EndedRun(const std::vector<NodeResult>& nodes) {
  RunOutcome outcome;
  outcome.acceptedLogins = {{L"http://127.0.0.2:8887/", true}};
  outcome.tcpTests = {{L"127.0.0.6:5060", 0, 0, TcpTest::Result::kConnected}};
  outcome.surveys = {nodes};
  for (const NodeResult& node : nodes) {
    if (node.type != Rtpp) continue;
    outcome.rtppNodes.push_back(node.url);
    if (node.resolved) outcome.calls.push_back(node);
  }
  outcome.sample = RunOutcome::Sample::kEnded;
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
                      L"198.18.0.14：延时 31 ms，抖动 0 ms，丢包 0%（20 次中丢 0 次，95% 上限 "
                      L"14.0%），最长中断 0 ms — 好"}));

  outcome.rtppNodes.clear();
  outcome.calls.clear();
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
  EXPECT_EQ(
      ReportSummary(outcome),
      (TextList{kLogin, kConnected, L"Rtpp 节点中最差的：198.18.0.52，丢包 100%", kIcmpHint,
                L"通话质量（Rtpp 节点）", L"198.18.0.52：丢包 100%（5 次中丢 5 次） — 无回应"}))
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
  EXPECT_EQ(unresolved.back(), L"nowhere.quorvex.test：名称无法解析") << "nothing was sent";

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

// Exact figures against the limits: nothing rounded in the node's favour.
TEST(ReportSummaryTest, TheVerdictNeverFlatters) {
  const auto node = [](int32_t echoes, int32_t answered, uint64_t sum, uint64_t differences,
                       int32_t lostInARow = 0) {
    NodeResult result = Node(Rtpp, L"198.18.0.9", 1, 0);
    result.echoes = echoes;
    result.answered = answered;
    result.roundTripSum = sum;
    result.differenceSum = differences;
    result.longestLossRun = lostInARow;
    return result;
  };
  const struct {
    NodeResult node;
    Verdict verdict;
    const char* what;
  } table[] = {
      {node(60, 59, 590, 0), Verdict::kFair, "1 lost of 60 is 1.7 %"},
      {node(100, 99, 990, 0), Verdict::kGood, "1 lost of 100 is the limit"},
      {node(20, 20, 200, 580), Verdict::kFair, "jitter 580 / 19 = 30.5 ms"},
      {node(20, 20, 200, 570), Verdict::kGood, "jitter 30 ms"},
      {node(20, 20, 3010, 0), Verdict::kFair, "delay 150.5 ms"},
      {node(20, 20, 6020, 0), Verdict::kPoor, "delay 301 ms"},
      {node(300, 297, 2970, 0, 3), Verdict::kGood, "an outage of 60 ms, what concealment hides"},
      {node(300, 296, 2960, 0, 4), Verdict::kFair, "an outage of 80 ms"},
      {node(300, 285, 2850, 0, 15), Verdict::kPoor, "5 % lost, all in one outage of 300 ms"},
      {node(20, 0, 0, 0), Verdict::kSilent, "silent"},
      {node(4, 0, 0, 0), Verdict::kTooFew, "four sent tell nothing, not even silence"},
      {Node(Rtpp, L"nowhere", 1, 100, {}, 4, false), Verdict::kUnresolved, "unresolved"},
  };
  for (const auto& row : table) EXPECT_EQ(VerdictOf(row.node), row.verdict) << row.what;

  // The old worst by loss was the too-few node; the summary names the quality block's first.
  const RunOutcome outcome = EndedRun({Node(Rtpp, L"nowhere", 1, 100, {}, 9, false),
                                       Node(Rtpp, L"198.18.0.3", 1, 75, {1}, 4),
                                       Node(Rtpp, L"198.18.0.27", 1, 50, {1, 1, 1, 1}, 8)});
  EXPECT_EQ(ReportSummary(outcome),
            (TextList{kLogin, kConnected, L"Rtpp 节点中最差的：198.18.0.27，丢包 50%，延时 1 ms",
                      L"通话质量（Rtpp 节点）",
                      L"198.18.0.27：延时 1 ms，抖动 0 ms，丢包 50%（8 次中丢 4 次，95% 上限 "
                      L"80.8%），最长中断 0 ms — 差",
                      L"198.18.0.3：延时 1 ms，丢包 75%（4 次中丢 3 次，95% 上限 98.8%），最长中断 "
                      L"0 ms — 回显太少，无法判断",
                      L"nowhere：名称无法解析"}));
}

TEST(ReportSummaryTest, CallQualityWorstFirstOnceEachNode) {
  const std::vector<NodeResult> rtpp = {
      Node(Rtpp, L"198.18.0.14", 30, 0, {30, 33, 30, 31}, 62),
      Node(Rtpp, L"198.18.0.184", 201, 0, {201, 201}, 10),
      Node(Rtpp, L"198.18.0.194", 50, 0, {20, 80, 20, 80}, 40),
      Node(Rtpp, L"198.18.0.27", 1, 50, {1, 1, 1, 1}, 8),
      Node(Rtpp, L"198.18.0.3", 400, 0, {400, 400, 400}, 4),
      Node(Rtpp, L"198.18.0.57", 1, 100, {}, 300),
      Node(Rtpp, L"198.18.0.14", 31, 2, {31, 31}, 60),  // again, from a second login: fair
      Node(Rtpp, L"198.18.0.15", 31, 0, {31}, 1),
  };
  EXPECT_EQ(
      CallQualityLines(RateNodes(rtpp)),
      (TextList{
          L"通话质量（Rtpp 节点）", L"198.18.0.57：丢包 100%（300 次中丢 300 次） — 无回应",
          L"198.18.0.27：延时 1 ms，抖动 0 ms，丢包 50%（8 次中丢 4 次，95% 上限 80.8%），"
          L"最长中断 0 ms — 差",
          L"198.18.0.194：延时 50 ms，抖动 60 ms，丢包 0%（40 次中丢 0 次，95% 上限 7.3%），"
          L"最长中断 0 ms — 差",
          L"198.18.0.3：延时 400 ms，抖动 0 ms，丢包 0%（4 次中丢 0 次，95% 上限 52.8%），"
          L"最长中断 0 ms — 回显太少，无法判断",
          L"198.18.0.15：延时 31 ms，丢包 0%（1 次中丢 0 次，95% 上限 95.0%），最长中断 0 ms — "
          L"回显太少，无法判断",
          L"198.18.0.14：延时 31 ms，抖动 0 ms，丢包 2%（60 次中丢 1 次，95% 上限 7.7%），"
          L"最长中断 0 ms — 一般",
          L"198.18.0.184：延时 201 ms，抖动 0 ms，丢包 0%（10 次中丢 0 次，95% 上限 "
          L"25.9%），最长中断 0 ms — 一般"}));
  // The bound at its edges: no loss in the 300 echoes; one loss; everything lost.
  EXPECT_EQ(LossUpperBoundTenths(300, 0), 10u);
  EXPECT_EQ(LossUpperBoundTenths(300, 1), 16u);
  EXPECT_EQ(LossUpperBoundTenths(300, 300), 1000u);
  EXPECT_EQ(Jitter(rtpp[0]), 2u) << "(3 + 3 + 1) / 3, in whole ms";
  EXPECT_TRUE(CallQualityLines({}).empty());
}

// Echoes the system refuses, at once or after a while: the trace could not run, which says nothing
// of the path, and the block says why.
class RefusingFlight : public EchoFlight {
 public:
  explicit RefusingFlight(bool atOnce) : atOnce_(atOnce) {}
  bool Send(uint64_t tag, uint32_t, uint32_t, uint32_t, int, uint32_t& error) override {
    error = 14;
    if (!atOnce_) tags_.push_back(tag);
    return !atOnce_;
  }
  std::vector<EchoOutcome> Collect(uint32_t) override {
    std::vector<EchoOutcome> ended;
    for (uint64_t tag : tags_) ended.push_back({EchoOutcome::Kind::kFailed, tag, {}, 11050});
    tags_.clear();
    return ended;
  }
  size_t inFlight() const override { return tags_.size(); }

 private:
  bool atOnce_;
  std::vector<uint64_t> tags_;
};

TEST(ReportSummaryTest, APathThatCouldNotBeTracedSaysWhy) {
  for (const bool atOnce : {true, false}) {
    TraceSettings settings;
    settings.times.limitMs = 1500;
    settings.makeFlight = [atOnce](Text&) { return std::make_unique<RefusingFlight>(atOnce); };
    const PathRecord path{L"198.18.0.101", TracePaths({0x650012C6}, settings).front()};
    EXPECT_EQ(PathLines(path, Node(Rtpp, L"198.18.0.101", 1, 100)),
              (TextList{L"路径（到 198.18.0.101）",
                        atOnce ? L"路径测试无法进行：系统拒绝发送 ICMP 回显（错误码 14）"
                               : L"路径测试无法进行：系统拒绝发送 ICMP 回显（错误码 11050）"}));
  }
}

}  // namespace
