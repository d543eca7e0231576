#include "probe/path_reading.h"

#include <algorithm>

#include "probe/call_verdict.h"

namespace {

constexpr uint32_t kDelayKeptWithinMs = 10;

PathFinding Finding(PathFinding::Kind kind) {
  PathFinding finding;
  finding.kind = kind;
  return finding;
}

bool Answered(const PathHop& hop) { return hop.answered > 0; }

// A hop lost at least half as much as the node: hopLost / hopSent >= nodeLost / (2 nodeSent).
bool LostHalfAsMuch(const PathHop& hop, const NodeResult& node) {
  const uint64_t nodeSent = static_cast<uint64_t>(node.echoes);
  const uint64_t nodeLost = nodeSent - static_cast<uint64_t>(node.answered);
  return uint64_t{hop.sent - hop.answered} * 2 * nodeSent >= nodeLost * hop.sent;
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
    // The first answering hop from which every answering hop lost at least half the node's loss.
    auto from = hops.end();
    for (auto hop = nodeHop + 1; hop != hops.begin();) {
      --hop;
      if (!Answered(*hop)) continue;
      if (!LostHalfAsMuch(*hop, node)) break;
      from = hop;
    }
    if (from != hops.end()) {
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
    // The rise over the answering hop before (none: 0), where no later answering hop's fastest
    // trip falls more than 10 ms below it; the greatest such rise, the first of equals.
    PathFinding best = Finding(Kind::kDelayJump);
    uint32_t before = 0;
    for (auto hop = hops.begin(); hop != nodeHop + 1; ++hop) {
      if (!Answered(*hop)) continue;
      const bool kept = std::all_of(hop + 1, nodeHop + 1, [&](const PathHop& later) {
        return !Answered(later) || later.fastest + kDelayKeptWithinMs >= hop->fastest;
      });
      if (kept && hop->fastest > before && hop->fastest - before > best.riseMs) {
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
