#include <gtest/gtest.h>

#include "probe/path_reading.h"

namespace {

using Kind = PathFinding::Kind;

constexpr uint32_t kNode = 0x650012C6;  // 198.18.0.101

struct Hop {
  uint32_t answered;  // of 10 echoes
  uint32_t fastestMs;
  EchoAnswer answer = EchoAnswer::kTimeExceeded;
};

// Ten echoes per hop from TTL 1 on; the node answers at the hop marked kReply.
std::vector<TraceEcho> Echoes(const std::vector<Hop>& hops) {
  std::vector<TraceEcho> echoes;
  for (uint32_t ttl = 1; ttl <= hops.size(); ++ttl) {
    const Hop& hop = hops[ttl - 1];
    for (uint32_t i = 0; i < 10; ++i) {
      TraceEcho echo{ttl, i < hop.answered ? hop.answer : EchoAnswer::kOther,
                     hop.answer == EchoAnswer::kReply ? kNode : ttl, hop.fastestMs + i};
      echoes.push_back(echo);
    }
  }
  return echoes;
}

PathTrace SummarisePath(uint32_t node, const std::vector<TraceEcho>& echoes) {
  return SummarisePaths({node}, {echoes}).front();
}

NodeResult Survey(int32_t echoes, int32_t answered, uint64_t meanMs) {
  NodeResult node;
  node.echoes = echoes;
  node.answered = answered;
  node.roundTripSum = meanMs * static_cast<uint64_t>(answered);
  return node;
}

// The conclusions' rules at their edges; each whole conclusion also has a whole-run case.
TEST(PathReadingTest, ConclusionsAtTheirEdges) {
  const EchoAnswer reply = EchoAnswer::kReply;
  const struct {
    const char* what;
    std::vector<Hop> hops;
    NodeResult node;
    std::vector<Kind> kinds;
    uint32_t hop;  // of the first finding
    std::vector<uint32_t> listed;
  } table[] = {
      {"nothing answered", {{0, 0}, {0, 0}}, Survey(10, 0, 0), {Kind::kNothingAnswered}, 0, {}},
      {"broken after the last hop that answered",
       {{10, 1}, {0, 0}, {10, 2}, {0, 0}},
       Survey(10, 0, 0),
       {Kind::kBrokenAfter},
       3,
       {}},
      {"a silent router is not blamed: loss from hop 3",
       {{10, 1}, {0, 1}, {6, 1}, {7, 1, reply}},
       Survey(30, 20, 5),
       {Kind::kLossFrom},
       3,
       {}},
      {"a hop that lost nothing ends the walk, one merely under half the node's loss does not",
       {{10, 1}, {9, 1}, {6, 1, reply}},
       Survey(30, 20, 5),
       {Kind::kLossFrom},
       2,
       {}},
      {"a hop that lost clearly less than the node's hop ends the walk",
       {{7, 1}, {9, 1}, {3, 1, reply}},
       Survey(30, 20, 5),
       {Kind::kLossOnlyAtNode},
       3,
       {}},
      {"the survey saw loss, the trace's node hop none",
       {{10, 1}, {10, 2, reply}},
       Survey(20, 15, 3),
       {Kind::kNoLossDuringTrace},
       0,
       {}},
      {"hops 2 and 5 limit their answers",
       {{10, 1}, {5, 1}, {10, 1}, {10, 1}, {4, 1}, {10, 1, reply}},
       Survey(60, 60, 5),
       {Kind::kRateLimited},
       0,
       {2, 5}},
      {"1 of 60 lost is loss; the delay jumps at hop 2, not at the dip after it",
       {{10, 1}, {10, 150}, {10, 145}, {9, 160, reply}},
       Survey(60, 59, 160),
       {Kind::kLossOnlyAtNode, Kind::kDelayJump},
       4,
       {}},
      {"a jump that a later hop falls 10 ms below neither counts nor is the base of the next",
       {{10, 1}, {10, 200}, {10, 150}, {10, 170, reply}},
       Survey(20, 20, 171),
       {Kind::kDelayJump},
       3,
       {}},
      {"a router slow to answer for itself hides no jump behind it; under 20 ms is none",
       {{10, 2}, {10, 10}, {10, 300}, {10, 185}, {10, 186, reply}},
       Survey(20, 20, 186),
       {Kind::kDelayJump},
       4,
       {}},
      {"nothing found", {{10, 1}, {10, 2, reply}}, Survey(20, 20, 3), {Kind::kNothingFound}, 0, {}},
  };
  for (const auto& row : table) {
    const std::vector<PathFinding> findings =
        ReadPath(SummarisePath(kNode, Echoes(row.hops)), row.node);
    std::vector<Kind> kinds;
    for (const PathFinding& finding : findings) kinds.push_back(finding.kind);
    EXPECT_EQ(kinds, row.kinds) << row.what;
    if (findings.empty()) continue;
    EXPECT_EQ(findings.front().hop, row.hop) << row.what;
    EXPECT_EQ(findings.front().hops, row.listed) << row.what;
  }
}

// Echoes past the node's hop do not count; an unreachable answer ends only a path the node never
// answered; a router's hop counts what other nodes' echoes met there.
TEST(PathReadingTest, HopsEndAtTheNodeOrAnUnreachableAndShareTheirRouters) {
  const uint32_t other = kNode + 1;
  const std::vector<TraceEcho> echoes = {{1, EchoAnswer::kTimeExceeded, 7, 3},
                                         {2, EchoAnswer::kReply, kNode, 9},
                                         {5, EchoAnswer::kOther, 0, 0},
                                         {3, EchoAnswer::kReply, kNode, 8}};
  const std::vector<TraceEcho> behind = {{1, EchoAnswer::kTimeExceeded, 7, 1},
                                         {1, EchoAnswer::kOther, 0, 0},
                                         {2, EchoAnswer::kUnreachable, 8, 4},
                                         {3, EchoAnswer::kReply, other, 5}};
  const std::vector<PathTrace> traces = SummarisePaths({kNode, other}, {echoes, behind});
  ASSERT_EQ(traces[0].hops.size(), 2u);
  EXPECT_EQ(traces[0].hops[0].sent, 3u);
  EXPECT_EQ(traces[0].hops[0].answered, 2u);
  EXPECT_TRUE(traces[0].hops[1].node);
  EXPECT_EQ(traces[0].hops[1].sent, 1u);
  ASSERT_EQ(traces[1].hops.size(), 3u);
  EXPECT_FALSE(traces[1].hops[1].unreachable);
  EXPECT_EQ(traces[1].hops[1].answered, 1u);

  const PathTrace trace = SummarisePath(kNode, {{1, EchoAnswer::kTimeExceeded, 7, 3},
                                                {2, EchoAnswer::kUnreachable, 8, 4},
                                                {4, EchoAnswer::kOther, 0, 0}});
  ASSERT_EQ(trace.hops.size(), 2u);
  EXPECT_TRUE(trace.hops[1].unreachable);
  EXPECT_EQ(ReadPath(trace, Survey(10, 0, 0)).front().kind, Kind::kUnreachableAt);
}

}  // namespace
