#include "tests/testrun/test_run_fixture.h"

#include <thread>

#include "probe/launcher.h"
#include "support/run_log.h"
#include "testrun/login_timings.h"
#include "testrun/test_run_controller.h"

void TestRunFixture::SetUp() {
  GetGlobalDataCollection() = GlobalDataCollection();
  GetGlobalDataCollection().userName = L"alice";
  GetGlobalDataCollection().password = L"secret";
  useDirectLoginFlow = true;
  InstallServiceLibrary(library_);
  SetAppMainWindow(&window_);
  SetRunLogBaseDirectoryForTest(temp_.text());
  // Every node answers in 1 ms, and a survey takes a few milliseconds.
  Launcher& launcher = GetLauncher();
  launcher.nodeLists.clear();
  launcher.bestNodes.clear();
  launcher.results.clear();
  launcher.probeSettings = ProbeSettings();
  launcher.probeSettings.durationMs = 5;
  launcher.probeSettings.echoTimeoutMs = 5;
  launcher.probeSettings.makeEcho = [] {
    return [](EchoResult& result, const Text&, uint32_t) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      result.roundTripTime = 1;
      return true;
    };
  };
  // No call is sampled and no path traced: every node is rated 回显太少, nothing is sent.
  const auto none = [](Text& why) {
    why = L"stand-in";
    return std::unique_ptr<EchoFlight>();
  };
  launcher.callSettings.makeFlight = none;
  launcher.traceSettings.makeFlight = none;
  runLogEnabled = false;
}

void TestRunFixture::TearDown() {
  library_->ReleaseDelays();
  InstallServiceLibrary(nullptr);
  SetAppMainWindow(nullptr);
  GetLauncher().probeSettings = ProbeSettings();
  GetLauncher().callSettings = CallSettings();
  GetLauncher().traceSettings = TraceSettings();
  SetLoginAttemptTimeoutForTest(kLoginAttemptTimeout);
  SetRunLogBaseDirectoryForTest(Text());
  runLogEnabled = false;
}

Text StageBegin() { return L"多点HTTP节点登陆" + Text(60, L'-') + L"Begin"; }
Text StageEnd() { return L"多点HTTP节点登陆" + Text(60, L'-') + L"End"; }
Text RunBegin() { return L"开始登陆" + Text(60, L'-') + L"Begin"; }
Text RunEnd() { return L"开始登陆" + Text(60, L'-') + L"End"; }

Text StageSuccess(const Text& url) { return L"Successed ---> 多点HTTP节点测试登陆，节点：" + url; }

Text StageFailure(const Text& url, int32_t httpCode, int32_t curlCode) {
  return L"Failed ---> 多点HTTP节点测试登陆失败，节点：" + url + L"，错误码：" + ToText(httpCode) +
         L"，curl code：" + ToText(curlCode);
}
