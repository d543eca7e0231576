#include "app/report_text.h"

#include <algorithm>

#include "app/call_quality.h"
#include "app/path_report.h"
#include "probe/call_verdict.h"
#include "probe/node_type.h"
#include "shell/transcript_text.h"

namespace {

Text LoginLine(const AcceptedLogin& login) {
  return L"登陆成功：" + login.url + (login.imServer ? L"（IM 服务器）" : L"（WAP 网关）");
}

void AddTcpLines(const std::vector<TcpTest>& tests, TextList& lines) {
  int failed = 0;
  bool connected = false;
  for (const TcpTest& test : tests) {
    if (test.result == TcpTest::Result::kFailed) ++failed;
    if (test.result != TcpTest::Result::kConnected) continue;
    connected = true;
    lines.push_back(test.proxyIndex == 0 ? L"TCP 连接成功：直连节点 " + test.node
                                         : L"TCP 连接成功：代理节点 " + test.node + L"（第 " +
                                               ToText(test.proxyIndex) + L" 个，共 " +
                                               ToText(test.proxyCount) + L" 个）");
  }
  if (connected) return;
  // A test still under way has neither failed nor connected.
  if (tests.empty()) {
    lines.push_back(L"没有进行 TCP 连接测试");
  } else {
    lines.push_back(failed > 0 ? L"没有 TCP 节点连接成功：" + ToText(failed) + L" 个节点连接失败"
                               : Text(L"TCP 连接测试尚无结果"));
  }
}

// The quality block's first resolved node, by the same order; a name that did not resolve only
// when no other is left.
Text WorstRtppLine(const std::vector<RatedNode>& rated) {
  if (rated.empty()) return L"没有 Rtpp 节点的测量结果";
  const auto resolved = std::find_if(rated.begin(), rated.end(), [](const RatedNode& entry) {
    return entry.verdict != Verdict::kUnresolved;
  });
  const NodeResult& worst = *(resolved != rated.end() ? resolved : rated.begin())->node;
  Text line = L"Rtpp 节点中最差的：" + worst.address + L"，丢包 " + ToText(worst.lost) + L"%";
  // A node that never answered has no delay to speak of.
  if (worst.lost < 100) line += L"，延时 " + ToText(worst.delay) + L" ms";
  return line;
}

}  // namespace

TextList ReportSummary(const std::optional<RunOutcome>& outcome) {
  if (!outcome) return {L"没有测试结果"};
  TextList lines;
  if (!outcome->ended) lines.push_back(L"测试仍在进行，以下是目前的结果");
  for (const AcceptedLogin& login : outcome->acceptedLogins) lines.push_back(LoginLine(login));
  if (outcome->acceptedLogins.empty()) lines.push_back(L"没有登陆服务器接受登陆");
  AddTcpLines(outcome->tcpTests, lines);

  const std::vector<NodeResult> rtpp = RunRtppRecords(*outcome);
  // Rated on the call sample once it has run, on the surveys until then.
  const bool sampled = outcome->sample == RunOutcome::Sample::kEnded || outcome->ended;
  const std::vector<NodeResult> calls = sampled ? RunCallRecords(*outcome) : rtpp;
  const std::vector<RatedNode> rated = RateNodes(calls);
  // Until the run has ended, a login may still return nodes.
  lines.push_back(outcome->ended && outcome->rtppNodes.empty() ? Text(L"本次登陆没有返回 Rtpp 节点")
                                                               : WorstRtppLine(rated));

  // Echo silenced on the way is far likelier than every node down while TCP gets through; the
  // login servers are left out, as they may sit on another network than the nodes, and so is a
  // node whose name did not resolve: its echoes failed at the name, not on the way.
  std::vector<NodeResult> nodes = RunRecords(*outcome, Sip);
  nodes.insert(nodes.end(), rtpp.begin(), rtpp.end());
  std::erase_if(nodes, [](const NodeResult& record) { return !record.resolved; });
  const bool tcpConnected =
      std::any_of(outcome->tcpTests.begin(), outcome->tcpTests.end(),
                  [](const TcpTest& test) { return test.result == TcpTest::Result::kConnected; });
  const bool allSilent = std::all_of(nodes.begin(), nodes.end(),
                                     [](const NodeResult& record) { return record.lost == 100; });
  if (tcpConnected && !nodes.empty() && allSilent) {
    lines.push_back(
        L"所有 Sip 和 Rtpp 节点都没有回应 Ping，但 TCP 连接成功："
        L"可能是网络屏蔽了 ICMP，节点不一定有故障");
  }
  if (outcome->sample == RunOutcome::Sample::kRunning) {
    lines.insert(lines.end(), {L"通话质量（Rtpp 节点）", L"通话测试进行中"});
  } else if (sampled) {
    const TextList quality = CallQualityLines(rated);
    lines.insert(lines.end(), quality.begin(), quality.end());
  }
  for (const PathRecord& path : outcome->paths) {
    const auto node = std::find_if(rated.begin(), rated.end(), [&](const RatedNode& entry) {
      return entry.node->address == path.address;
    });
    if (node == rated.end()) continue;
    const TextList block = PathLines(path, *node->node);
    lines.insert(lines.end(), block.begin(), block.end());
  }
  return lines;
}

Text ReportText(const Text& transcript, const TextList& summary) {
  Text text = transcript + L"\r\n概要\r\n";
  for (const Text& line : summary) text += line + L"\r\n";
  return text;
}

Text ReportFileName(const platform::DateTime& time) {
  // "yyyy-mm-dd hh:mm:ss" without its separators, the date and time joined by a hyphen.
  Text stamp;
  for (wchar_t c : FormatDateTime(time)) {
    if (c == L' ') {
      stamp += L'-';
    } else if (c != L'-' && c != L':') {
      stamp += c;
    }
  }
  return L"Quorvex-" + stamp + L".txt";
}
