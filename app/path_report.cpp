#include "app/path_report.h"

#include <algorithm>

#include "probe/path_reading.h"
#include "support/resolve.h"
#include "support/text_conversions.h"

namespace {

Text Address(uint32_t address) { return AnsiToWide(FormatIPv4(address)); }

Text HopName(uint32_t ttl) { return L"第 " + ToText(static_cast<int32_t>(ttl)) + L" 跳"; }

Text SilentHops(uint32_t first, uint32_t last) {
  if (first == last) return HopName(first) + L"：无回应";
  return L"第 " + ToText(static_cast<int32_t>(first)) + L"–" + ToText(static_cast<int32_t>(last)) +
         L" 跳：无回应";
}

Text HopLine(const PathHop& hop) {
  if (hop.answered == 0) return HopName(hop.ttl) + L"：无回应";
  const Text named = HopName(hop.ttl) + L" " + Address(hop.address) + L"：";
  if (hop.unreachable) return named + L"不可达";
  // Like the survey's delay, at least 1.
  const uint32_t mean = std::max<uint32_t>(hop.MeanMs(), 1);
  return named + L"延时 " + ToText(static_cast<int32_t>(mean)) + L" ms，丢包 " +
         ToText(static_cast<int32_t>(hop.LostPercent())) + L"%";
}

Text Where(const PathFinding& finding) {
  return HopName(finding.hop) + L"（" + Address(finding.address) + L"）";
}

Text FindingLine(const PathFinding& finding) {
  using Kind = PathFinding::Kind;
  switch (finding.kind) {
    case Kind::kNothingAnswered:
      return L"结论：第 1 跳就没有回应，可能是本机或路由器拦截了 ICMP";
    case Kind::kBrokenAfter:
      return L"结论：路径在" + Where(finding) + L"之后中断";
    case Kind::kUnreachableAt:
      return L"结论：" + Where(finding) + L"报告节点不可达";
    case Kind::kLossFrom:
      return L"结论：丢包从" + Where(finding) + L"开始，一直持续到节点" +
             (finding.localNetwork ? L"；问题在本地网络（网线、无线网络或路由器）" : L"");
    case Kind::kLossOnlyAtNode:
      return L"结论：丢包只出现在节点上";
    case Kind::kNoLossDuringTrace:
      return L"结论：路径测试期间节点没有丢包，丢包可能是间歇性的";
    case Kind::kRateLimited: {
      Text hops;
      for (uint32_t hop : finding.hops) {
        hops += (hops.empty() ? L"" : L"、") + ToText(static_cast<int32_t>(hop));
      }
      return L"结论：节点没有丢包；第 " + hops + L" 跳的丢包是路由器限速回应探测，不影响通话";
    }
    case Kind::kDelayJump:
      return L"结论：延时在" + Where(finding) + L"增加了 " +
             ToText(static_cast<int32_t>(finding.riseMs)) + L" ms";
    case Kind::kNothingFound:
      break;
  }
  return L"结论：路径上没有发现持续的丢包或延时跳变";
}

}  // namespace

TextList PathLines(const PathRecord& path, const NodeResult& node) {
  TextList lines{L"路径（到 " + path.address + L"）"};
  const PathTrace& trace = path.trace;
  if (!trace.ended) {
    lines.push_back(L"路径测试进行中");
    return lines;
  }
  if (!trace.failure.empty()) {
    lines.push_back(L"路径测试无法进行：" + trace.failure);
    return lines;
  }
  const auto answered = std::find_if(trace.hops.rbegin(), trace.hops.rend(),
                                     [](const PathHop& hop) { return hop.answered > 0; });
  const size_t shown = static_cast<size_t>(trace.hops.rend() - answered);
  // Each run of silent hops is one line, the silence after the last hop that answered too.
  for (size_t i = 0; i < shown;) {
    size_t end = i;
    while (end < shown && trace.hops[end].answered == 0) ++end;
    if (end == i) {
      lines.push_back(HopLine(trace.hops[i++]));
    } else {
      lines.push_back(SilentHops(trace.hops[i].ttl, trace.hops[end - 1].ttl));
      i = end;
    }
  }
  if (shown < trace.hops.size() || (shown == 0 && trace.hops.empty())) {
    lines.push_back(SilentHops(static_cast<uint32_t>(shown) + 1, kTraceMaxTtl));
  }
  for (const PathFinding& finding : ReadPath(trace, node)) lines.push_back(FindingLine(finding));
  return lines;
}
