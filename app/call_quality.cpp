#include "app/call_quality.h"

#include "probe/call_sample.h"

namespace {

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
    case Verdict::kUnresolved:
      return L"名称无法解析";
    case Verdict::kGood:
      break;
  }
  return L"好";
}

Text Tenths(uint32_t tenths) {
  return ToText(static_cast<int32_t>(tenths / 10)) + L"." +
         ToText(static_cast<int32_t>(tenths % 10));
}

Text NodeLine(const NodeResult& node, Verdict verdict) {
  // Nothing was sent to a name that did not resolve.
  if (verdict == Verdict::kUnresolved) return node.address + L"：" + VerdictText(verdict);
  const int32_t lost = node.echoes - node.answered;
  const Text counts = ToText(node.echoes) + L" 次中丢 " + ToText(lost) + L" 次";
  Text line = node.address + L"：";
  if (verdict == Verdict::kSilent) {
    return line + L"丢包 " + ToText(node.lost) + L"%（" + counts + L"） — " + VerdictText(verdict);
  }
  if (node.answered > 0) line += L"延时 " + ToText(node.delay) + L" ms，";
  const std::optional<uint32_t> jitter = Jitter(node);
  if (jitter) line += L"抖动 " + ToText(static_cast<int32_t>(*jitter)) + L" ms，";
  const uint32_t bound =
      LossUpperBoundTenths(static_cast<uint64_t>(node.echoes), static_cast<uint64_t>(lost));
  return line + L"丢包 " + ToText(node.lost) + L"%（" + counts + L"，95% 上限 " + Tenths(bound) +
         L"%），最长中断 " + ToText(node.longestLossRun * static_cast<int32_t>(kCallIntervalMs)) +
         L" ms — " + VerdictText(verdict);
}

}  // namespace

TextList CallQualityLines(const std::vector<RatedNode>& rated) {
  TextList lines;
  for (const RatedNode& entry : rated) {
    if (lines.empty()) lines.push_back(L"通话质量（Rtpp 节点）");
    lines.push_back(NodeLine(*entry.node, entry.verdict));
  }
  return lines;
}
