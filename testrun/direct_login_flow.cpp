#include "catalogue/global_data_collection.h"
#include "shell/progress_list.h"
#include "support/service_library.h"
#include "testrun/banner.h"
#include "testrun/flow_steps.h"
#include "testrun/login_flows.h"
#include "testrun/run_outcome.h"
#include "testrun/service_urls.h"

bool DirectLoginFlow() {
  constexpr const wchar_t* kName = L"开始正常登陆流程";
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  ReportLine(Banner(kName, kFlowBannerHyphens, L"Begin"));

  const Text addressBook = AddressBookUrl();
  catalogue.contacterServerUrl = addressBook;
  catalogue.tcpNodeAddress = catalogue.lastLoginResult.tcpServer;
  catalogue.sipNodeAddress = catalogue.lastLoginResult.sipServer;
  const NodeAddress node = SplitNodeAddress(catalogue.tcpNodeAddress);

  Launcher& launcher = GetLauncher();
  SetNewHttpContacterServer(addressBook);
  RegisterFlowNodes(launcher, catalogue.sipNodeAddress, catalogue.lastLoginResult);

  RecordTcpTestStarted(catalogue.tcpNodeAddress, 0, 0);
  ReportLine(L"TCP 直连节点测试 ---> " + catalogue.tcpNodeAddress);
  if (!TestTcpConnection(node)) return false;

  SurveyAndReportRtpp(launcher);
  ReportLine(Banner(kName, kFlowBannerHyphens, L"End"));
  return true;
}
