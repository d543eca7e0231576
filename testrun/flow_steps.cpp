#include "testrun/flow_steps.h"

#include <vector>

#include "app/progress_list.h"
#include "support/service_library.h"

void RegisterFlowNodes(Launcher& launcher, const Text& firstSip, const LoginResult& result) {
  TextList sipNodes = result.sipServers;
  sipNodes.insert(sipNodes.begin(), firstSip);
  launcher.AddNodeList(sipNodes, Sip);
  launcher.AddNodeList(result.rtppServers, Rtpp);
}

bool TestTcpConnection(const NodeAddress& node) {
  if (!CreateTCP(node.host, PortArgument(node.portText))) {
    ReportLine(L"Failed ---> TCP 连接创建失败，错误码：" + ToText(GetLastTcpError()));
    return false;
  }
  if (!ConnectTCP()) {
    ReportLine(L"Failed ---> TCP 连接失败，错误码：" + ToText(GetLastTcpError()));
    return false;
  }
  DisConnectTCP();
  ReportLine(L"Successed ---> TCP 连接成功");
  return true;
}

void SurveyAndReportRtpp(Launcher& launcher) {
  launcher.SurveyNodes();
  std::vector<NodeResult> rtpp;
  if (!launcher.GetRtppResults(rtpp)) return;
  for (const NodeResult& record : rtpp) {
    ReportLine(L"RTPP 节点网络信息 ---> URL:" + record.address + L", Delay:" +
               ToText(record.delay) + L", Lost:" + ToText(record.lost));
  }
}
