#include "testrun/multi_node_login.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/run_log.h"
#include "support/worker_thread.h"
#include "testrun/login_timings.h"
#include "testrun/service_urls.h"
#include "testrun/test_run_controller.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

using namespace std::chrono_literals;

class MultiNodeLoginTest : public TestRunFixture {
 protected:
  void SetUp() override {
    TestRunFixture::SetUp();
    runLogEnabled = true;
  }
  GlobalDataCollection& catalogue() { return GetGlobalDataCollection(); }
};

TEST_F(MultiNodeLoginTest, AnEmptyListGivesTheBannersAndBlankLinesOnly) {
  MultiNodeLoginThread();
  const TextList expected = {L"", StageBegin(), StageEnd(), L""};
  EXPECT_EQ(ListLines(), expected);
  EXPECT_EQ(LogMessages(), (TextList{StageBegin(), StageEnd()}));
  EXPECT_TRUE(library_->Calls().empty());
}

TEST_F(MultiNodeLoginTest, TheFirstServerAcceptingLeavesOnlyTheServersAfterIt) {
  catalogue().loginServerUrls = {L"http://127.0.0.2:8887/", L"http://127.0.0.3/kelo_http/",
                                 L"http://127.0.0.9/third/"};
  library_->Script(L"http://127.0.0.2:8887/", ScriptedLogin::Accept());
  MultiNodeLoginThread();
  EXPECT_EQ(catalogue().loginServerUrls,
            (TextList{L"http://127.0.0.3/kelo_http/", L"http://127.0.0.9/third/"}));
  EXPECT_TRUE(catalogue().loginSucceeded);
  EXPECT_EQ(catalogue().activeLoginServerUrl, L"http://127.0.0.2:8887/");
}

TEST_F(MultiNodeLoginTest, TheLastServerAcceptingEmptiesTheList) {
  catalogue().loginServerUrls = {L"http://a/", L"http://b/"};
  library_->Script(L"http://b/", ScriptedLogin::Accept());
  MultiNodeLoginThread();
  EXPECT_TRUE(catalogue().loginServerUrls.empty());
  EXPECT_TRUE(catalogue().loginSucceeded);
  EXPECT_FALSE(useDirectLoginFlow) << "only the IM server's exact URL selects the direct flow";
}

TEST_F(MultiNodeLoginTest, OnlyTheImServerUrlCharacterForCharacterSelectsTheDirectFlow) {
  const Text almost = ImServerUrl().substr(0, ImServerUrl().size() - 1);  // no trailing slash
  catalogue().loginServerUrls = {almost};
  library_->Script(almost, ScriptedLogin::Accept());
  MultiNodeLoginThread();
  EXPECT_FALSE(useDirectLoginFlow);

  catalogue().loginServerUrls = {ImServerUrl()};
  library_->Script(ImServerUrl(), ScriptedLogin::Accept());
  MultiNodeLoginThread();
  EXPECT_TRUE(useDirectLoginFlow);
}

TEST_F(MultiNodeLoginTest, PercentSignsAndLongTextsInUrlsAreShownAndLoggedAsTheyAre) {
  const Text odd = L"http://127.0.0.9/%s%d%n%%/" + Text(1500, L'x') + L"/";
  catalogue().loginServerUrls = {odd};
  library_->Script(odd, ScriptedLogin::Refuse(-1, 2147483647));
  MultiNodeLoginThread();
  const Text line = StageFailure(odd, -1, 2147483647);
  EXPECT_EQ(ListLines()[2], line);
  const TextList log = LogMessages();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1], line.substr(0, 1023)) << "the log keeps the first 1023 characters";
}

TEST_F(MultiNodeLoginTest,
       AHangingServerIsReportedAfterTheWaitTheNextTriedAtOnceItsLateAnswerLost) {
  SetLoginAttemptTimeoutForTest(400ms);
  catalogue().loginServerUrls = {L"http://hang/", L"http://refuse/"};
  LoginResult late;
  late.loginText = L"late";
  ScriptedLogin hanging = ScriptedLogin::Accept(late);
  hanging.delay = 1200ms;
  library_->Script(L"http://hang/", hanging);
  library_->Script(L"http://refuse/", ScriptedLogin::Refuse(503));
  const LoginResult before = catalogue().lastLoginResult;

  const auto start = std::chrono::steady_clock::now();
  MultiNodeLoginThread();
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_GE(took, 400ms);
  EXPECT_LT(took, 1100ms) << "the second server is tried without waiting for the first";

  const TextList expected = {L"",
                             StageBegin(),
                             StageFailure(L"http://hang/", 0, 0),
                             StageFailure(L"http://refuse/", 503, 0),
                             StageEnd(),
                             L""};
  EXPECT_EQ(ListLines(), expected);

  ASSERT_TRUE(library_->WaitForLoginsReturned(2, 5000ms));  // the abandoned one has answered
  EXPECT_EQ(library_->CountCalls("HttpLogin"), 2);
  EXPECT_FALSE(catalogue().loginSucceeded);
  EXPECT_EQ(catalogue().lastLoginResult, before);
  EXPECT_EQ(catalogue().lastHttpCode, 503);
  EXPECT_TRUE(catalogue().loginServerUrls.empty());
}

TEST_F(MultiNodeLoginTest, ALateAnswerNeverDecidesALaterAttempt) {
  // Wide margins: the late answer comes at 1300 ms, while the second attempt (1000 to 1600 ms)
  // runs.
  SetLoginAttemptTimeoutForTest(1000ms);
  catalogue().loginServerUrls = {L"http://hang/", L"http://slow-refuse/"};
  ScriptedLogin hanging = ScriptedLogin::Accept();
  hanging.delay = 1300ms;
  ScriptedLogin slowRefusal = ScriptedLogin::Refuse(401);
  slowRefusal.delay = 600ms;
  library_->Script(L"http://hang/", hanging);
  library_->Script(L"http://slow-refuse/", slowRefusal);
  MultiNodeLoginThread();
  EXPECT_FALSE(catalogue().loginSucceeded);
  EXPECT_EQ(ListLines()[3], StageFailure(L"http://slow-refuse/", 401, 0));
}

TEST_F(MultiNodeLoginTest, AnAttemptThatCannotStartIsAFailureLineOfThatServer) {
  catalogue().loginServerUrls = {L"http://a/", L"http://b/"};
  catalogue().loginSucceeded = true;  // as an earlier pass left it
  library_->Script(L"http://a/", ScriptedLogin::Accept());
  library_->Script(L"http://b/", ScriptedLogin::Accept());
  FailNextThreadStartsForTest(1);
  MultiNodeLoginThread();
  FailNextThreadStartsForTest(0);
  const TextList expected = {
      L"",        StageBegin(), StageFailure(L"http://a/", 0, 0), StageSuccess(L"http://b/"),
      StageEnd(), L""};
  EXPECT_EQ(ListLines(), expected);
}

}  // namespace
