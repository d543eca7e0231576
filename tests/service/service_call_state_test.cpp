#include "service/service_call_state.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceCallState, CodesReadZeroWhileAnAttemptRunsThenItsOwn) {
  ServiceCallState state;
  state.SetLoginServer(L"http://a/");
  const auto first = state.BeginLogin();
  state.EndLogin(*first, 403, 0, nullptr);
  EXPECT_EQ(state.HttpCode(), 403);

  const auto second = state.BeginLogin();
  EXPECT_EQ(state.HttpCode(), 0);
  EXPECT_EQ(state.TransferCode(), 0);
  state.EndLogin(*second, 0, 28, nullptr);
  EXPECT_EQ(state.HttpCode(), 0);
  EXPECT_EQ(state.TransferCode(), 28);
}

TEST(ServiceCallState, AnAttemptOvertakenByALaterOneLeavesItsCodesAloneButItsSessionToEnd) {
  ServiceCallState state;
  state.SetLoginServer(L"http://slow/");
  const auto abandoned = state.BeginLogin();
  state.SetLoginServer(L"http://next/");
  const auto next = state.BeginLogin();
  EXPECT_EQ(abandoned->serverUrl, L"http://slow/");
  EXPECT_EQ(next->serverUrl, L"http://next/");

  state.EndLogin(*next, 503, 0, nullptr);
  const Text late = L"late-session";
  state.EndLogin(*abandoned, 200, 0, &late);
  EXPECT_EQ(state.HttpCode(), 503);
  const auto sessions = state.TakeSessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].serverUrl, L"http://slow/");
  EXPECT_EQ(sessions[0].loginText, L"late-session");
}

TEST(ServiceCallState, ASessionNoLaterLogoutWillSeeComesBackToBeEndedAtOnce) {
  ServiceCallState state;
  const auto beforeLogout = state.BeginLogin();
  state.TakeSessions();  // the run's logout
  const Text late = L"late";
  EXPECT_EQ(state.EndLogin(*beforeLogout, 200, 0, &late)->loginText, L"late");
  const auto afterLogout = state.BeginLogin();
  EXPECT_FALSE(state.EndLogin(*afterLogout, 200, 0, &late));  // kept for the next logout
  const auto during = state.BeginLogin();
  const auto now = std::chrono::steady_clock::now();
  EXPECT_EQ(state.BeginClose(now + std::chrono::seconds(2)).size(), 1u);
  EXPECT_TRUE(state.EndLogin(*during, 200, 0, &late));
  EXPECT_FALSE(state.BeginLogin()) << "none begins once the program is closing";
  for (int i = 0; i < 3; ++i) state.LoginEnded();
  EXPECT_FALSE(state.WaitForCalls(now)) << "the close's logout is under way";
  state.LogoutEnded();
  EXPECT_TRUE(state.WaitForCalls(now));
}

TEST(ServiceCallState, EverySessionBelongsToTheServerThatAcceptedAndIsHandedOutOnce) {
  ServiceCallState state;
  state.SetLoginServer(L"http://im/");
  const auto attempt = state.BeginLogin();
  state.SetLoginServer(L"http://wap/");
  const Text loginText = L"s1";
  state.EndLogin(*attempt, 200, 0, &loginText);

  const auto failed = state.BeginLogin();
  state.EndLogin(*failed, 401, 0, nullptr);  // a refusal keeps the earlier session
  const auto second = state.BeginLogin();
  const Text secondText = L"s2";
  state.EndLogin(*second, 200, 0, &secondText);

  const auto sessions = state.TakeSessions();
  ASSERT_EQ(sessions.size(), 2u);
  EXPECT_EQ(sessions[0].serverUrl, L"http://im/");
  EXPECT_EQ(sessions[0].loginText, L"s1");
  EXPECT_EQ(sessions[1].serverUrl, L"http://wap/");
  EXPECT_EQ(sessions[1].loginText, L"s2");
  EXPECT_TRUE(state.TakeSessions().empty());
}

}  // namespace
