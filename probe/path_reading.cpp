#include "probe/path_reading.h"

#include <algorithm>

#include "probe/call_verdict.h"

namespace {

constexpr uint32_t kDelayKeptWithinMs = 10;
// A smaller rise is the routers' own variation.
constexpr uint32_t kDelayJumpMinMs = 20;

PathFinding Finding(PathFinding::Kind kind) {
  PathFinding finding;
  finding.kind = kind;
  return finding;
}

bool Answered(const PathHop& hop) { return hop.answered > 0; }

uint64_t Choose(uint64_t n, uint64_t k) {
  if (k > n) return 0;
  uint64_t result = 1;
  for (uint64_t i = 1; i <= k; ++i) result = result * (n - k + i) / i;  // exact at every step
  return result;
}

// A hop's loss is clearly below the node hop's: the one-sided Fisher exact test, whether so few of
// all the lost echoes would fall on the hop by chance at most 1 time in 20. Exact while the two
// together hold at most 60 echoes, which ten rounds never pass.
bool ClearlyBelow(const PathHop& hop, const PathHop& node) {
  const uint64_t hopSent = std::min<uint64_t>(hop.sent, 30);
  const uint64_t nodeSent = std::min<uint64_t>(node.sent, 30);
  const uint64_t hopLost = std::min<uint64_t>(hop.sent - hop.answered, hopSent);
  const uint64_t nodeLost = std::min<uint64_t>(node.sent - node.answered, nodeSent);
  const uint64_t lost = hopLost + nodeLost;
  uint64_t asFew = 0;
  for (uint64_t k = 0; k <= hopLost; ++k) {
    if (lost - k <= nodeSent) asFew += Choose(hopSent, k) * Choose(nodeSent, lost - k);
  }
  return asFew * 20 < Choose(hopSent + nodeSent, lost);
}

}  // namespace

std::vector<PathFinding> ReadPath(const PathTrace& trace, const NodeResult& node) {
  using Kind = PathFinding::Kind;
  const std::vector<PathHop>& hops = trace.hops;
  const auto lastAnswered = std::find_if(hops.rbegin(), hops.rend(), Answered);
  if (lastAnswered == hops.rend()) return {Finding(Kind::kNothingAnswered)};
  const auto nodeHop =
      std::find_if(hops.begin(), hops.end(), [](const PathHop& hop) { return hop.node; });
  if (nodeHop == hops.end()) {
    PathFinding finding =
        Finding(lastAnswered->unreachable ? Kind::kUnreachableAt : Kind::kBrokenAfter);
    finding.hop = lastAnswered->ttl;
    finding.address = lastAnswered->address;
    return {finding};
  }

  std::vector<PathFinding> findings;
  if (LossOverGood(static_cast<uint64_t>(node.echoes), static_cast<uint64_t>(node.answered))) {
    if (nodeHop->answered == nodeHop->sent) {
      findings.push_back(Finding(Kind::kNoLossDuringTrace));
    } else {
      // Back from the node over the answering hops, to the first that lost nothing or clearly
      // less than the node's hop: the loss begins after it.
      auto from = nodeHop;
      for (auto hop = nodeHop; hop != hops.begin();) {
        --hop;
        if (!Answered(*hop)) continue;
        if (hop->answered == hop->sent || ClearlyBelow(*hop, *nodeHop)) break;
        from = hop;
      }
      PathFinding finding = Finding(from == nodeHop ? Kind::kLossOnlyAtNode : Kind::kLossFrom);
      finding.hop = from->ttl;
      finding.address = from->address;
      finding.localNetwork = from->ttl == 1;
      findings.push_back(finding);
    }
  } else {
    PathFinding finding = Finding(Kind::kRateLimited);
    for (auto hop = hops.begin(); hop != nodeHop; ++hop) {
      if (Answered(*hop) && LossOverGood(hop->sent, hop->answered))
        finding.hops.push_back(hop->ttl);
    }
    if (!finding.hops.empty()) findings.push_back(finding);
  }

  if (DelayOverGood(node)) {
    // The rise of a kept hop (no later answering hop's fastest trip falls more than 10 ms below
    // it) over the kept hop before it (none: 0); the greatest such rise of 20 ms or more, the
    // first of equals. A hop slow to answer for itself is neither a jump nor the base of one.
    PathFinding best = Finding(Kind::kDelayJump);
    uint32_t before = 0;
    for (auto hop = hops.begin(); hop != nodeHop + 1; ++hop) {
      if (!Answered(*hop)) continue;
      const bool kept = std::all_of(hop + 1, nodeHop + 1, [&](const PathHop& later) {
        return !Answered(later) || later.fastest + kDelayKeptWithinMs >= hop->fastest;
      });
      if (!kept) continue;
      if (hop->fastest >= before + kDelayJumpMinMs && hop->fastest - before > best.riseMs) {
        best.riseMs = hop->fastest - before;
        best.hop = hop->ttl;
        best.address = hop->address;
      }
      before = hop->fastest;
    }
    if (best.hop != 0) findings.push_back(best);
  }
  if (findings.empty()) findings.push_back(Finding(Kind::kNothingFound));
  return findings;
}
