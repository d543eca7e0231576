#include "testrun/test_run_controller.h"

#include <thread>

#include "catalogue/global_data_collection.h"
#include "probe/launcher.h"
#include "shell/main_window.h"
#include "shell/progress_list.h"
#include "support/run_log.h"
#include "support/secret_wipe.h"
#include "support/service_library.h"
#include "support/worker_thread.h"
#include "testrun/banner.h"
#include "testrun/call_samples.h"
#include "testrun/login_flows.h"
#include "testrun/multi_node_login.h"
#include "testrun/path_traces.h"
#include "testrun/run_outcome.h"
#include "testrun/service_urls.h"

bool useDirectLoginFlow = true;

namespace {

constexpr const wchar_t* kRunName = L"开始登陆";

// One pass: the login stage on its own thread, then the flow that fits the server that accepted.
bool RunPass(GlobalDataCollection& catalogue) {
  std::thread stage;
  if (!StartThread(stage, [] { MultiNodeLoginThread(); })) {
    // Nothing would change the list, so the pass would repeat for ever.
    catalogue.loginServerUrls.clear();
    return false;
  }
  stage.join();
  if (!catalogue.loginSucceeded) return false;
  return useDirectLoginFlow ? DirectLoginFlow() : ProxyLoginFlow();
}

}  // namespace

unsigned TestRunThread() {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  runLogEnabled = true;
  ReportLine(Banner(kRunName, 60, L"Begin"));

  catalogue.loginServerUrls.clear();
  Launcher& launcher = GetLauncher();
  catalogue.loginServerUrls.push_back(ImServerUrl());
  catalogue.loginServerUrls.push_back(WapLoginUrl());
  // The survey probes the login servers too; the launcher keeps its own copy.
  launcher.AddNodeList(catalogue.loginServerUrls, Http);

  while (!catalogue.loginServerUrls.empty()) {
    if (!RunPass(catalogue)) catalogue.loginSucceeded = false;
  }
  // The run's last login attempt has begun and took its own copy: the password is needed no more.
  WipeText(catalogue.password);
  // After the last survey, so that neither disturbs a survey's figures; the traces follow the
  // sample's verdicts. The run ends when they have.
  SampleRunCalls(launcher.callSettings);
  TraceRunPaths(launcher.traceSettings);

  const Text end = Banner(kRunName, 60, L"End");
  AppendProgressLine(end);
  AppendProgressLine(L"网络测试结束");
  WriteRunLog(end);
  WriteRunLog(L"//");
  WriteRunLog(L"//" + Text(93, L'*') + L"//");
  WriteRunLog(L"//");

  HttpLogout();
  RecordRunEnded();
  if (MainWindow* const window = GetAppMainWindow()) window->EnableTestButton();
  return 0;
}
