#include "testrun/multi_node_login.h"

#include <condition_variable>
#include <mutex>
#include <utility>

#include "catalogue/global_data_collection.h"
#include "shell/progress_list.h"
#include "support/run_log.h"
#include "support/secret_wipe.h"
#include "support/service_library.h"
#include "support/worker_thread.h"
#include "testrun/banner.h"
#include "testrun/login_timings.h"
#include "testrun/run_outcome.h"
#include "testrun/service_urls.h"
#include "testrun/test_run_controller.h"

struct LoginAttempt {
  Text url;
  Text userName;
  Text password;

  std::mutex lock;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;

  ~LoginAttempt() { WipeText(password); }
};

namespace {

constexpr const wchar_t* kStageName = L"多点HTTP节点登陆";

// Starts one attempt and waits for it; true when it finished in time.
bool RunAttempt(const Text& url, GlobalDataCollection& catalogue) {
  auto attempt = std::make_shared<LoginAttempt>();
  attempt->url = url;
  // Copied here, so an attempt that outlives the run never reads the catalogue.
  attempt->userName = catalogue.userName;
  attempt->password = catalogue.password;
  if (!StartDetachedThread([attempt] { HttpLoginAttemptThread(attempt); })) return false;

  std::unique_lock<std::mutex> guard(attempt->lock);
  if (attempt->finished.wait_for(guard, LoginAttemptTimeout(), [&] { return attempt->done; })) {
    return true;
  }
  attempt->abandoned = true;
  return false;
}

void CloseStage() {
  const Text end = Banner(kStageName, 60, L"End");
  AppendProgressLine(end);
  AppendProgressLine(Text());
  WriteRunLog(end);
}

}  // namespace

unsigned HttpLoginAttemptThread(std::shared_ptr<LoginAttempt> attempt) {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  {
    std::lock_guard<std::mutex> guard(attempt->lock);
    if (attempt->abandoned) return 0;
    catalogue.loginSucceeded = false;
  }
  const Text url = attempt->url;
  SetNewHttpLoginServer(url);
  LoginResult result;
  const bool succeeded = HttpLogin(attempt->userName, attempt->password, result);
  const int32_t httpCode = succeeded ? 0 : GetHttpCode();

  std::lock_guard<std::mutex> guard(attempt->lock);
  if (attempt->abandoned) return 0;  // too late: the stage has reported this server already
  catalogue.loginSucceeded = succeeded;
  if (succeeded) {
    catalogue.lastLoginResult = result;
    catalogue.lastLoginText = result.loginText;
    useDirectLoginFlow = url == ImServerUrl();
  } else {
    catalogue.lastHttpCode = httpCode;
  }
  attempt->done = true;
  attempt->finished.notify_all();
  return 0;
}

unsigned MultiNodeLoginThread() {
  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  AppendProgressLine(Text());
  ReportLine(Banner(kStageName, 60, L"Begin"));

  for (size_t i = 0; i < catalogue.loginServerUrls.size(); ++i) {
    const Text url = catalogue.loginServerUrls[i];
    if (RunAttempt(url, catalogue) && catalogue.loginSucceeded) {
      RecordAcceptedLogin(url, url == ImServerUrl());
      ReportLine(L"Successed ---> 多点HTTP节点测试登陆，节点：" + url);
      catalogue.activeLoginServerUrl = url;
      catalogue.loginServerUrls.erase(catalogue.loginServerUrls.begin(),
                                      catalogue.loginServerUrls.begin() + i + 1);
      CloseStage();
      return 0;
    }
    // Not started, refused or too late: all the same to the user.
    catalogue.loginSucceeded = false;
    catalogue.lastHttpCode = GetHttpCode();
    const int32_t curlCode = GetCurlCode();
    ReportLine(L"Failed ---> 多点HTTP节点测试登陆失败，节点：" + url + L"，错误码：" +
               ToText(catalogue.lastHttpCode) + L"，curl code：" + ToText(curlCode));
  }

  catalogue.loginServerUrls.clear();
  CloseStage();
  return 0;
}
