#include "catalogue/global_data_collection.h"
#include "shell/progress_list.h"
#include "testrun/banner.h"
#include "testrun/flow_steps.h"
#include "testrun/login_flows.h"
#include "testrun/run_outcome.h"
#include "testrun/service_urls.h"

bool ProxyLoginFlow() {
  constexpr const wchar_t* kName = L"开始代理登陆流程";
  Launcher& launcher = OpenFlow(kName, WapAddressBookUrl());
  GlobalDataCollection& catalogue = GetGlobalDataCollection();

  // Indexed, with the count read again before each entry: the entry is copied before anything
  // else is called, so the list may change meanwhile without harm.
  bool connected = false;
  for (size_t i = 0; i < catalogue.lastLoginResult.tcpProxyServers.size(); ++i) {
    catalogue.tcpNodeAddress = catalogue.lastLoginResult.tcpProxyServers[i];
    const NodeAddress node = SplitNodeAddress(catalogue.tcpNodeAddress);
    RecordTcpTestStarted(catalogue.tcpNodeAddress, static_cast<int>(i) + 1,
                         static_cast<int>(catalogue.lastLoginResult.tcpProxyServers.size()));
    ReportLine(L"TCP 代理节点测试 ---> " + catalogue.tcpNodeAddress);
    if (TestTcpConnection(node)) {
      connected = true;
      break;
    }
  }
  if (!connected) return false;

  SurveyAndReportRtpp(launcher);
  const bool loggedIn = catalogue.loginSucceeded;
  ReportLine(Banner(kName, kFlowBannerHyphens, L"End"));
  return loggedIn;
}
