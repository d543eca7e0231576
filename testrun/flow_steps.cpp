#include "testrun/flow_steps.h"

#include <vector>

#include "catalogue/global_data_collection.h"
#include "shell/progress_list.h"
#include "support/service_library.h"
#include "testrun/banner.h"
#include "testrun/run_outcome.h"

Launcher& OpenFlow(const wchar_t* name, const Text& addressBook) {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  ReportLine(Banner(name, kFlowBannerHyphens, L"Begin"));
  catalogue.contacterServerUrl = addressBook;
  Launcher& launcher = GetLauncher();
  SetNewHttpContacterServer(addressBook);
  TextList sipNodes = catalogue.lastLoginResult.sipServers;
  sipNodes.insert(sipNodes.begin(), catalogue.lastLoginResult.sipServer);
  launcher.AddNodeList(sipNodes, Sip);
  launcher.AddNodeList(catalogue.lastLoginResult.rtppServers, Rtpp);
  RecordRtppNodes(catalogue.lastLoginResult.rtppServers);
  return launcher;
}

bool TestTcpConnection(const NodeAddress& node) {
  if (!CreateTCP(node.host, PortArgument(node.portText))) {
    RecordTcpTestResult(false);
    ReportLine(L"Failed ---> TCP 连接创建失败，错误码：" + ToText(GetLastTcpError()));
    return false;
  }
  if (!ConnectTCP()) {
    RecordTcpTestResult(false);
    ReportLine(L"Failed ---> TCP 连接失败，错误码：" + ToText(GetLastTcpError()));
    return false;
  }
  DisConnectTCP();
  RecordTcpTestResult(true);
  ReportLine(L"Successed ---> TCP 连接成功");
  return true;
}

void SurveyAndReportRtpp(Launcher& launcher) {
  if (launcher.SurveyNodes()) RecordSurvey(launcher.results);
  std::vector<NodeResult> rtpp;
  if (!launcher.GetRtppResults(rtpp)) return;
  for (const NodeResult& record : rtpp) {
    ReportLine(L"RTPP 节点网络信息 ---> URL:" + record.address + L", Delay:" +
               ToText(record.delay) + L", Lost:" + ToText(record.lost));
  }
}
