#include "probe/call_verdict.h"

#include <algorithm>

namespace {

// The limits of a good and of a fair call: ITU-T G.114 for delay (150 ms one way for most uses,
// here the round trip), the usual VoIP targets for jitter and loss.
struct Limits {
  uint64_t lostPercent;
  uint64_t jitterMs;
  uint64_t delayMs;
};
constexpr Limits kGood{1, 30, 150};
constexpr Limits kFair{5, 50, 300};
constexpr int32_t kFewestEchoes = 5;

// Cross-multiplied, so nothing is rounded before it is compared.
bool LostOver(uint64_t sent, uint64_t answered, uint64_t percent) {
  return (sent - answered) * 100 > percent * sent;
}

bool Within(const NodeResult& node, const Limits& limits) {
  const uint64_t sent = static_cast<uint64_t>(node.echoes);
  const uint64_t answered = static_cast<uint64_t>(node.answered);
  return !LostOver(sent, answered, limits.lostPercent) && answered >= 2 &&
         node.differenceSum <= limits.jitterMs * (answered - 1) &&
         node.roundTripSum <= limits.delayMs * answered;
}

}  // namespace

bool LossOverGood(uint64_t sent, uint64_t answered) {
  return LostOver(sent, answered, kGood.lostPercent);
}

bool DelayOverGood(const NodeResult& node) {
  return node.answered > 0 &&
         node.roundTripSum > kGood.delayMs * static_cast<uint64_t>(node.answered);
}

Verdict VerdictOf(const NodeResult& node) {
  if (!node.resolved) return Verdict::kUnresolved;
  if (node.answered == 0) return Verdict::kSilent;
  if (node.echoes < kFewestEchoes) return Verdict::kTooFew;
  if (Within(node, kGood)) return Verdict::kGood;
  if (Within(node, kFair)) return Verdict::kFair;
  return Verdict::kPoor;
}

std::optional<uint32_t> Jitter(const NodeResult& node) {
  if (node.answered < 2) return std::nullopt;
  return static_cast<uint32_t>(node.differenceSum / static_cast<uint64_t>(node.answered - 1));
}

std::vector<RatedNode> RateNodes(const std::vector<NodeResult>& rtpp) {
  std::vector<RatedNode> rated;
  for (const NodeResult& node : rtpp) rated.push_back({&node, VerdictOf(node)});
  std::stable_sort(rated.begin(), rated.end(), [](const RatedNode& a, const RatedNode& b) {
    if (a.verdict != b.verdict) return a.verdict < b.verdict;
    if (a.node->lost != b.node->lost) return a.node->lost > b.node->lost;
    return a.node->delay > b.node->delay;
  });
  // A node surveyed more than once (by two logins, say) is named once, by its worst survey.
  std::vector<RatedNode> distinct;
  for (const RatedNode& entry : rated) {
    const bool named = std::any_of(distinct.begin(), distinct.end(), [&](const RatedNode& seen) {
      return seen.node->address == entry.node->address;
    });
    if (!named) distinct.push_back(entry);
  }
  return distinct;
}
