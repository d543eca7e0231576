// Login stages through our own service client against the simulator that scripts/netns-run
// starts: libcurl natively, WinHTTP under Wine. The simulator's outcome is chosen by the user
// name. Whole runs with their transcripts are the cases in tests/cases.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "service/http_service_library.h"
#include "support/run_log.h"
#include "testrun/local_address.h"
#include "testrun/login_timings.h"
#include "testrun/multi_node_login.h"
#include "testrun/run_start.h"
#include "testrun/service_urls.h"
#include "testrun/test_run_controller.h"
#include "tests/service/sim_test_support.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

using namespace std::chrono_literals;

class WholeRunTest : public TestRunFixture {
 protected:
  void SetUp() override {
    TestRunFixture::SetUp();
    const char* running = std::getenv("QUORVEX_SIM_RUNNING");
    if (running == nullptr || std::string(running) != "1") {
      FAIL() << "the service simulator is not running: run under scripts/netns-run";
    }
    InstallServiceLibrary(CreateHttpServiceLibrary());
  }

  void RunAs(const wchar_t* user) {
    GetGlobalDataCollection().userName = user;
    GetGlobalDataCollection().password = L"pass word%&=";
    TestRunThread();
    EXPECT_TRUE(GetGlobalDataCollection().password.empty()) << "kept past the run's last login";
  }
};

TEST_F(WholeRunTest, NoAnswerAtAllGivesTransferCodes) {
  RunAs(L"close");
  EXPECT_EQ(ListLines()[3], StageFailure(ImServerUrl(), 0, 52));
  EXPECT_EQ(ListLines()[4], StageFailure(WapLoginUrl(), 0, 52));

  list_.list().ResetContent();
  RunAs(L"garbage");
  EXPECT_EQ(ListLines()[3], StageFailure(ImServerUrl(), 200, 8));
  EXPECT_EQ(ListLines()[4], StageFailure(WapLoginUrl(), 200, 8));
}

TEST_F(WholeRunTest, AServerNobodyListensOnIsRefusedWithCode7) {
  GetGlobalDataCollection().loginServerUrls = {L"http://127.0.0.2:1/", WapLoginUrl()};
  GetGlobalDataCollection().userName = L"both-accept";
  runLogEnabled = true;
  MultiNodeLoginThread();
  EXPECT_EQ(ListLines()[2], StageFailure(L"http://127.0.0.2:1/", 0, 7));
  EXPECT_EQ(ListLines()[3], StageSuccess(WapLoginUrl()));
}

TEST_F(WholeRunTest, AServerThatDoesNotAnswerInTimeIsAbandonedAndItsLateAnswerLost) {
  SetLoginAttemptTimeoutForTest(800ms);
  const Text lateLogouts = ImServerUrl() + L"sim/logouts?session=im-session-late";
  const int logoutsBefore = SimCount(lateLogouts);
  const auto start = std::chrono::steady_clock::now();
  RunAs(L"im-late");  // the IM server accepts only after 2 s
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1800ms);
  EXPECT_EQ(ListLines()[3], StageFailure(ImServerUrl(), 0, 0));
  EXPECT_EQ(ListLines()[4], StageSuccess(WapLoginUrl()));
  const Text wapSession = GetGlobalDataCollection().lastLoginText;

  // Accepted after the run's logout, the session is ended at once.
  EXPECT_TRUE(WaitForSimCount(lateLogouts, logoutsBefore + 1, 10000ms));
  EXPECT_EQ(GetGlobalDataCollection().lastLoginText, wapSession);
  EXPECT_FALSE(useDirectLoginFlow);
}

TEST_F(WholeRunTest, AHangingServerRunsIntoTheClientTimeOutWithCode28) {
  InstallServiceLibrary(CreateHttpServiceLibrary({500, 700}));
  RunAs(L"hang");
  EXPECT_EQ(ListLines()[3], StageFailure(ImServerUrl(), 0, 28));
  EXPECT_EQ(ListLines()[4], StageFailure(WapLoginUrl(), 0, 28));
}

TEST_F(WholeRunTest, ServerDataWithPercentSignsAndLongTextsArrivesWhole) {
  RunAs(L"rich");
  const LoginResult& result = GetGlobalDataCollection().lastLoginResult;
  EXPECT_EQ(result.tcpServer, L"127.0.0.6:5060%s%d%n");
  EXPECT_GE(result.loginText.size(), 2000u);
  EXPECT_EQ(result.loginText.rfind(L"会话%s%d%n", 0), 0u);
}

TEST_F(WholeRunTest, BothWorkersTogetherLogTheRunAndTheLocalAddress) {
  GetGlobalDataCollection().userName = L"both-refuse";
  StartTestRunWorkers(&window_);
  ASSERT_TRUE(window_.WaitForButtonEnabled(1, 30000));
  ASSERT_TRUE(window_.WaitForLocalAddress(1, 30000));
  EXPECT_EQ(window_.LocalAddressText(), L"本机IP为：127.0.0.1");
  const TextList log = LogMessages();
  int addressLines = 0;
  for (const Text& message : log) addressLines += message == L"本机IP为：127.0.0.1" ? 1 : 0;
  // Logging is on before either worker starts.
  EXPECT_EQ(addressLines, 1);
  EXPECT_EQ(log.back(), L"//");
}

}  // namespace
