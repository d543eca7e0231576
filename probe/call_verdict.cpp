#include "probe/call_verdict.h"

#include <algorithm>
#include <cmath>

#include "probe/call_sample.h"

namespace {

// The limits of a good and of a fair call: ITU-T G.114 for delay (150 ms one way for most uses,
// here the round trip), the usual VoIP targets for jitter and loss, and the longest outage that
// packet-loss concealment hides (ITU-T G.711 Appendix I: 60 ms).
struct Limits {
  uint64_t lostPercent;
  uint64_t jitterMs;
  uint64_t delayMs;
  uint64_t outageMs;
};
constexpr Limits kGood{1, 30, 150, 60};
constexpr Limits kFair{5, 50, 300, 200};
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
         node.roundTripSum <= limits.delayMs * answered &&
         static_cast<uint64_t>(node.longestLossRun) * kCallIntervalMs <= limits.outageMs;
}

// P(at most `lost` of `sent` lost) where each is lost with `p`.
double LostAtMost(uint64_t sent, uint64_t lost, double p) {
  double term = std::pow(1 - p, static_cast<double>(sent));  // none lost
  double sum = term;
  for (uint64_t k = 0; k < lost; ++k) {
    term *= static_cast<double>(sent - k) / static_cast<double>(k + 1) * p / (1 - p);
    sum += term;
  }
  return sum;
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
  // So few say nothing, not even that the node is silent (a close ended them, say).
  if (node.echoes < kFewestEchoes) return Verdict::kTooFew;
  if (node.answered == 0) return Verdict::kSilent;
  if (Within(node, kGood)) return Verdict::kGood;
  if (Within(node, kFair)) return Verdict::kFair;
  return Verdict::kPoor;
}

uint32_t LossUpperBoundTenths(uint64_t sent, uint64_t lost) {
  if (lost >= sent) return 1000;
  // The p at which so few losses come up only 1 time in 20: the one-sided Clopper–Pearson bound,
  // found by halving; the chance falls as p grows.
  double low = static_cast<double>(lost) / static_cast<double>(sent);
  double high = 1;
  for (int i = 0; i < 60; ++i) {
    const double middle = (low + high) / 2;
    (LostAtMost(sent, lost, middle) > 0.05 ? low : high) = middle;
  }
  // Up to the next tenth of a percent, never down: the bound never flatters.
  return static_cast<uint32_t>(std::ceil(high * 1000 - 1e-9));
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
