// Calls from several threads at once, as a test run makes them: the address query beside the
// login, and a new attempt while an abandoned one is still inside HttpLogin.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/service/sim_test_support.h"

namespace {

using ServiceThreads = SimTest;

TEST_F(ServiceThreads, AddressQueriesAndCodeReadsRunBesideLogins) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  std::atomic<bool> loginsDone{false};
  std::atomic<int> wrongAddresses{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 8; ++i) {
        Text address;
        if (!library->GetLocalIP(ClientAddressUrl(), address) || address != L"127.0.0.1")
          ++wrongAddresses;
      }
    });
  }
  threads.emplace_back([&] {
    while (!loginsDone.load()) {
      const int32_t code = library->GetHttpCode();
      EXPECT_TRUE(code == 0 || code == 200 || code == 403) << code;
      library->GetCurlCode();
      std::this_thread::yield();
    }
  });
  for (int i = 0; i < 8; ++i) {
    LoginResult result;
    library->SetNewHttpLoginServer(ImServerUrl());
    const bool accepted = library->HttpLogin(i % 2 ? L"both-accept" : L"both-refuse", L"x", result);
    EXPECT_EQ(accepted, i % 2 == 1);
    EXPECT_EQ(library->GetHttpCode(), accepted ? 200 : 403);
  }
  loginsDone = true;
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrongAddresses.load(), 0);
}

TEST_F(ServiceThreads, AnAbandonedAttemptKeepsItsServerAndCannotOverwriteTheNextOne) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  const Text started = ImServerUrl() + L"sim/logins?user=abandoned";
  const int before = SimCount(started);
  ASSERT_GE(before, 0);

  LoginResult lateResult;
  bool lateAccepted = false;
  std::thread abandoned([&] {
    library->SetNewHttpLoginServer(ImServerUrl());
    lateAccepted = library->HttpLogin(L"abandoned", L"x", lateResult);
  });
  // The slow login has reached the IM server (it answers after a second).
  Stopwatch watch;
  while (SimCount(started) == before && watch.Seconds() < 5) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_GT(SimCount(started), before);

  LoginResult result;
  library->SetNewHttpLoginServer(WapLoginUrl());
  EXPECT_FALSE(library->HttpLogin(L"both-refuse", L"x", result));
  EXPECT_EQ(library->GetHttpCode(), 503);
  abandoned.join();

  EXPECT_TRUE(lateAccepted);
  EXPECT_EQ(lateResult.loginText, L"im-session-abandoned");  // from the server named first
  EXPECT_EQ(library->GetHttpCode(), 503);
  EXPECT_EQ(library->GetCurlCode(), 0);
  // The late session is still ended: the logout reaches the server that accepted it.
  const Text logouts = ImServerUrl() + L"sim/logouts?session=im-session-abandoned";
  const int logoutsBefore = SimCount(logouts);
  EXPECT_TRUE(library->HttpLogout());
  EXPECT_EQ(SimCount(logouts), logoutsBefore + 1);
}

}  // namespace
