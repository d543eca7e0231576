#include <gtest/gtest.h>

#include "probe/launcher.h"
#include "shell/progress_list.h"
#include "support/run_log.h"
#include "support/worker_thread.h"
#include "testrun/login_timings.h"
#include "testrun/service_urls.h"
#include "testrun/test_run_controller.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

const Text kSeparator = L"//" + Text(93, L'*') + L"//";

using TestRunTest = TestRunFixture;

// A result whose direct node refuses and whose proxy list is empty, so both flows end early with
// false: the controller's passes are what these tests look at.
LoginResult ResultNamed(const Text& loginText) {
  LoginResult result;
  result.loginText = loginText;
  result.tcpServer = L"127.0.0.6:5061";
  result.rtppServers = {L"127.0.0.7"};
  return result;
}

TextList DirectFlowRefused() {
  return {L"开始正常登陆流程" + Text(48, L'-') + L"Begin", L"TCP 直连节点测试 ---> 127.0.0.6:5061",
          L"Failed ---> TCP 连接创建失败，错误码：0"};
}

TextList ProxyFlowWithoutNodes() { return {L"开始代理登陆流程" + Text(48, L'-') + L"Begin"}; }

TextList Concat(std::initializer_list<TextList> parts) {
  TextList all;
  for (const TextList& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(TestRunTest, BothServersAcceptTwoPassesDirectThenProxy) {
  library_->Script(ImServerUrl(), ScriptedLogin::Accept(ResultNamed(L"im session")));
  library_->Script(WapLoginUrl(), ScriptedLogin::Accept(ResultNamed(L"wap session")));
  TestRunThread();

  const TextList expected =
      Concat({{RunBegin(), L"", StageBegin(), StageSuccess(ImServerUrl()), StageEnd(), L""},
              DirectFlowRefused(),
              {L"", StageBegin(), StageSuccess(WapLoginUrl()), StageEnd(), L""},
              ProxyFlowWithoutNodes(),
              {RunEnd(), L"网络测试结束"}});
  EXPECT_EQ(ListLines(), expected);

  const TextList expectedLog =
      Concat({{RunBegin(), StageBegin(), StageSuccess(ImServerUrl()), StageEnd()},
              DirectFlowRefused(),
              {StageBegin(), StageSuccess(WapLoginUrl()), StageEnd()},
              ProxyFlowWithoutNodes(),
              {RunEnd(), L"//", kSeparator, L"//"}});
  EXPECT_EQ(LogMessages(), expectedLog);

  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  EXPECT_EQ(catalogue.lastLoginResult, ResultNamed(L"wap session"));
  EXPECT_EQ(catalogue.lastLoginText, L"wap session");
  EXPECT_EQ(catalogue.activeLoginServerUrl, WapLoginUrl());
  EXPECT_TRUE(catalogue.loginServerUrls.empty());
  EXPECT_FALSE(useDirectLoginFlow);
  EXPECT_EQ(window_.ButtonEnables(), 1);
  EXPECT_EQ(GetLauncher().nodeLists[Http], (TextList{ImServerUrl(), WapLoginUrl()}))
      << "the launcher keeps the full list, not what the stage left of it";
}

TEST_F(TestRunTest, BothServersRefuseOneStageNoFlowLogoutAndButtonAllTheSame) {
  library_->Script(ImServerUrl(), ScriptedLogin::Refuse(403));
  library_->Script(WapLoginUrl(), ScriptedLogin::Refuse(0, 7));
  GetGlobalDataCollection().lastLoginResult = ResultNamed(L"earlier run");
  TestRunThread();

  const TextList expected = {RunBegin(),
                             L"",
                             StageBegin(),
                             StageFailure(ImServerUrl(), 403, 0),
                             StageFailure(WapLoginUrl(), 0, 7),
                             StageEnd(),
                             L"",
                             RunEnd(),
                             L"网络测试结束"};
  EXPECT_EQ(ListLines(), expected);
  EXPECT_EQ(LogMessages().back(), L"//");
  EXPECT_EQ(library_->CountCalls("HttpLogout"), 1);
  EXPECT_EQ(library_->Calls().back(), "HttpLogout");
  EXPECT_EQ(window_.ButtonEnables(), 1);

  GlobalDataCollection& catalogue = GetGlobalDataCollection();
  EXPECT_FALSE(catalogue.loginSucceeded);
  EXPECT_EQ(catalogue.lastHttpCode, 0);
  EXPECT_EQ(catalogue.lastLoginResult, ResultNamed(L"earlier run")) << "kept from an earlier run";
}

TEST_F(TestRunTest, ImRefusesWapAcceptsOneStageThenTheProxyFlow) {
  library_->Script(ImServerUrl(), ScriptedLogin::Refuse(500, 0));
  library_->Script(WapLoginUrl(), ScriptedLogin::Accept(ResultNamed(L"wap")));
  TestRunThread();

  const TextList expected =
      Concat({{RunBegin(), L"", StageBegin(), StageFailure(ImServerUrl(), 500, 0),
               StageSuccess(WapLoginUrl()), StageEnd(), L""},
              ProxyFlowWithoutNodes(),
              {RunEnd(), L"网络测试结束"}});
  EXPECT_EQ(ListLines(), expected);
  EXPECT_EQ(GetGlobalDataCollection().lastHttpCode, 500);
}

TEST_F(TestRunTest, AFlowThatFailsIsFollowedByTheNextPassAllTheSame) {
  library_->Script(ImServerUrl(), ScriptedLogin::Accept(ResultNamed(L"im")));
  library_->Script(WapLoginUrl(), ScriptedLogin::Refuse(401));
  TestRunThread();

  const TextList expected =
      Concat({{RunBegin(), L"", StageBegin(), StageSuccess(ImServerUrl()), StageEnd(), L""},
              DirectFlowRefused(),
              {L"", StageBegin(), StageFailure(WapLoginUrl(), 401, 0), StageEnd(), L"", RunEnd(),
               L"网络测试结束"}});
  EXPECT_EQ(ListLines(), expected);
  EXPECT_FALSE(GetGlobalDataCollection().loginSucceeded);
}

TEST_F(TestRunTest, CredentialsReachEveryAttemptUnchangedUserNameFirst) {
  GetGlobalDataCollection().userName = L"  用户 %s ";
  GetGlobalDataCollection().password = L" ";
  TestRunThread();
  const std::vector<std::string> calls = library_->Calls();
  const std::vector<std::string> expected = {"SetNewHttpLoginServer " + ToUtf8(ImServerUrl()),
                                             "HttpLogin   用户 %s |  at " + ToUtf8(ImServerUrl()),
                                             "GetHttpCode",
                                             "GetHttpCode",
                                             "GetCurlCode",
                                             "SetNewHttpLoginServer " + ToUtf8(WapLoginUrl()),
                                             "HttpLogin   用户 %s |  at " + ToUtf8(WapLoginUrl()),
                                             "GetHttpCode",
                                             "GetHttpCode",
                                             "GetCurlCode",
                                             "HttpLogout"};
  EXPECT_EQ(calls, expected);
}

TEST_F(TestRunTest, LinesOfAnEarlierRunStayInTheLogAndANewRunAppends) {
  TestRunThread();
  const size_t firstRun = LogMessages().size();
  TestRunThread();
  const TextList log = LogMessages();
  ASSERT_EQ(log.size(), 2 * firstRun);
  EXPECT_EQ(log[firstRun], RunBegin());
  EXPECT_TRUE(ReadRunLog(temp_.path() / "log" / "NetLog.log").hasBom);
}

TEST_F(TestRunTest, AStageThatCannotStartEndsTheRunWithItsClosingLines) {
  library_->Script(ImServerUrl(), ScriptedLogin::Accept(ResultNamed(L"im")));
  FailNextThreadStartsForTest(1);
  TestRunThread();
  FailNextThreadStartsForTest(0);

  const TextList expected = {RunBegin(), RunEnd(), L"网络测试结束"};
  EXPECT_EQ(ListLines(), expected);
  EXPECT_TRUE(GetGlobalDataCollection().loginServerUrls.empty());
  EXPECT_EQ(library_->CountCalls("HttpLogout"), 1);
  EXPECT_EQ(window_.ButtonEnables(), 1);
}

}  // namespace
