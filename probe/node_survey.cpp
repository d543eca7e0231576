// The node latency survey.
#include <algorithm>

#include "probe/host_from_url.h"
#include "probe/launcher.h"
#include "shell/progress_list.h"
#include "support/program_closing.h"
#include "support/resolve.h"
#include "support/run_log.h"
#include "support/socket_library.h"
#include "support/text_conversions.h"

namespace {

// The dotted address of the host, or the host text itself when it doesn't resolve. Once the
// program is closing no name is looked up any more.
Text AddressOfHost(const Text& host, bool& resolved) {
  uint32_t address = 0;
  resolved = false;
  if (ProgramClosing()) return host;
  if (ResolveIPv4(WideToAnsi(host), address) != 0) return host;
  resolved = true;
  return AnsiToWide(FormatIPv4(address));
}

}  // namespace

bool Launcher::SurveyNodes() {
  AppendProgressLine(Text());

  // Started before the listing: resolving a host name needs it.
  PingBatch batch(probeSettings);
  SocketLibrary sockets;
  batch.socketsReady = sockets.Start(1, 1);

  std::vector<NodeResult> nodes;
  for (const auto& [kind, urls] : nodeLists) {
    for (const Text& url : urls) {
      NodeResult record;
      record.type = kind;
      record.address = AddressOfHost(HostFromUrl(url), record.resolved);
      record.url = url;
      record.delay = 1;
      record.lost = 100;
      ReportLine(NodeTypeName(kind) + L" 测试节点：" + url + L"，IP：" + record.address);
      nodes.push_back(record);
    }
  }
  AppendProgressLine(Text());

  if (!batch.Run(nodes)) {
    if (batch.socketsReady) {
      // Probe threads abandoned here may still be resolving their node's name. Stopping the
      // survey's start of the socket library is safe only because each of them holds a start of
      // its own in its CPing, which refuses to resolve without one (probe/ping_win.cpp).
      sockets.Stop();
      batch.socketsReady = false;
    }
    ReportLine(L"Failed ---> 测试服务器节点延时 Ping");
    return false;
  }

  ReportLine(L"Successed ---> 测试服务器节点延时 Ping");
  results = nodes;
  std::vector<NodeResult> reachable;
  for (const NodeResult& record : nodes) {
    if (record.lost != 100) reachable.push_back(record);
    ReportLine(L"Server type:" + NodeTypeName(record.type) + L", URL:" + record.address +
               L", Delay:" + ToText(record.delay) + L", Lost:" + ToText(record.lost));
  }
  sockets.Stop();
  batch.socketsReady = false;

  // Equal delays keep the listing order: the lower kind, then the earlier registration.
  std::stable_sort(reachable.begin(), reachable.end(),
                   [](const NodeResult& a, const NodeResult& b) {
                     return static_cast<uint32_t>(a.delay) < static_cast<uint32_t>(b.delay);
                   });
  std::map<int32_t, TextList> byKind;
  for (const NodeResult& record : reachable) byKind[record.type].push_back(record.url);
  for (const auto& [kind, urls] : byKind) bestNodes[kind] = urls.front();

  AppendProgressLine(Text());
  return true;
}
