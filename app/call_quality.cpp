#include "app/call_quality.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Worst first.
enum class Verdict { kSilent, kPoor, kTooFew, kFair, kGood };

// The limits of a good and of a fair call: ITU-T G.114 for delay (150 ms one way for most uses,
// here the round trip), the usual VoIP targets for jitter and loss.
struct Limits {
  int32_t lost;
  uint32_t jitter;
  int32_t delay;
};
constexpr Limits kGood{1, 30, 150};
constexpr Limits kFair{5, 50, 300};
constexpr int32_t kFewestEchoes = 5;

bool Within(const NodeResult& node, const std::optional<uint32_t>& jitter, const Limits& limits) {
  return node.lost <= limits.lost && jitter && *jitter <= limits.jitter &&
         node.delay <= limits.delay;
}

Verdict VerdictOf(const NodeResult& node) {
  if (node.lost == 100) return Verdict::kSilent;
  if (node.echoes < kFewestEchoes) return Verdict::kTooFew;
  const std::optional<uint32_t> jitter = Jitter(node);
  if (Within(node, jitter, kGood)) return Verdict::kGood;
  if (Within(node, jitter, kFair)) return Verdict::kFair;
  return Verdict::kPoor;
}

Text VerdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::kSilent:
      return L"无回应";
    case Verdict::kPoor:
      return L"差";
    case Verdict::kTooFew:
      return L"回显太少，无法判断";
    case Verdict::kFair:
      return L"一般";
    case Verdict::kGood:
      break;
  }
  return L"好";
}

Text NodeLine(const NodeResult& node, Verdict verdict) {
  Text line = node.address + L"：";
  if (verdict != Verdict::kSilent) {
    line += L"延时 " + ToText(node.delay) + L" ms，";
    const std::optional<uint32_t> jitter = Jitter(node);
    if (jitter) line += L"抖动 " + ToText(static_cast<int32_t>(*jitter)) + L" ms，";
  }
  return line + L"丢包 " + ToText(node.lost) + L"%，回显 " + ToText(node.echoes) + L" 次 — " +
         VerdictText(verdict);
}

}  // namespace

std::optional<uint32_t> Jitter(const NodeResult& node) {
  const std::vector<uint32_t>& trips = node.roundTrips;
  if (trips.size() < 2) return std::nullopt;
  uint64_t sum = 0;
  for (size_t i = 1; i < trips.size(); ++i) {
    sum += trips[i] > trips[i - 1] ? trips[i] - trips[i - 1] : trips[i - 1] - trips[i];
  }
  return static_cast<uint32_t>(sum / (trips.size() - 1));
}

TextList CallQualityLines(const std::vector<NodeResult>& rtpp) {
  struct Rated {
    const NodeResult* node;
    Verdict verdict;
  };
  std::vector<Rated> rated;
  for (const NodeResult& node : rtpp) rated.push_back({&node, VerdictOf(node)});
  std::stable_sort(rated.begin(), rated.end(), [](const Rated& a, const Rated& b) {
    if (a.verdict != b.verdict) return a.verdict < b.verdict;
    if (a.node->lost != b.node->lost) return a.node->lost > b.node->lost;
    return a.node->delay > b.node->delay;
  });
  // A node surveyed more than once (by two logins, say) is named once, by its worst survey.
  TextList lines;
  std::vector<Text> named;
  for (const Rated& entry : rated) {
    if (std::find(named.begin(), named.end(), entry.node->address) != named.end()) continue;
    named.push_back(entry.node->address);
    if (lines.empty()) lines.push_back(L"通话质量（Rtpp 节点）");
    lines.push_back(NodeLine(*entry.node, entry.verdict));
  }
  return lines;
}
