#include "catalogue/global_data_collection.h"
#include "shell/progress_list.h"
#include "testrun/banner.h"
#include "testrun/flow_steps.h"
#include "testrun/login_flows.h"
#include "testrun/run_outcome.h"
#include "testrun/service_urls.h"

bool DirectLoginFlow() {
  constexpr const wchar_t* kName = L"开始正常登陆流程";
  Launcher& launcher = OpenFlow(kName, AddressBookUrl());
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  catalogue.tcpNodeAddress = catalogue.lastLoginResult.tcpServer;
  catalogue.sipNodeAddress = catalogue.lastLoginResult.sipServer;
  const NodeAddress node = SplitNodeAddress(catalogue.tcpNodeAddress);
  RecordTcpTestStarted(catalogue.tcpNodeAddress, 0, 0);
  ReportLine(L"TCP 直连节点测试 ---> " + catalogue.tcpNodeAddress);
  if (!TestTcpConnection(node)) return false;

  SurveyAndReportRtpp(launcher);
  ReportLine(Banner(kName, kFlowBannerHyphens, L"End"));
  return true;
}
