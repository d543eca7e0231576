// GetLocalIP and HttpLogout against the simulator.
#include <gtest/gtest.h>

#include "tests/service/sim_test_support.h"

namespace {

using LocalAddress = SimTest;
using Logout = SimTest;

TEST_F(LocalAddress, TheServiceSeesTheLoopbackAddressAndTheAnswerIsTrimmed) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  Text address;
  EXPECT_TRUE(library->GetLocalIP(ClientAddressUrl(), address));
  EXPECT_EQ(address, L"127.0.0.1");
  address = L"old";
  EXPECT_TRUE(library->GetLocalIP(ClientAddressUrl() + L"?padded", address));
  EXPECT_EQ(address, L"127.0.0.1");
}

TEST_F(LocalAddress, AFailedQueryLeavesTheTextAsItWas) {
  const auto library = CreateHttpServiceLibrary(kShortTimeouts);
  for (const Text& url : {ClientAddressUrl() + L"?refuse", ClientAddressUrl() + L"?close",
                          ClientAddressUrl() + L"?hang", DeadUrl() + L"api/cip",
                          Text(L"http://") + kUnresolvableHost + L"/"}) {
    Text address = L"before";
    EXPECT_FALSE(library->GetLocalIP(url, address)) << ToUtf8(url);
    EXPECT_EQ(address, L"before") << ToUtf8(url);
  }
}

TEST_F(LocalAddress, LeavesTheCodesOfTheLastLoginAlone) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  LoginResult result;
  library->SetNewHttpLoginServer(ImServerUrl());
  ASSERT_FALSE(library->HttpLogin(L"both-refuse", L"x", result));
  Text address;
  library->GetLocalIP(ClientAddressUrl() + L"?refuse", address);
  library->GetLocalIP(DeadUrl(), address);
  EXPECT_EQ(library->GetHttpCode(), 403);
  EXPECT_EQ(library->GetCurlCode(), 0);
}

int LogoutsAt(const Text& server, const Text& session) {
  return SimCount(server + L"sim/logouts?session=" + session);
}

TEST_F(Logout, GoesToTheServerThatAcceptedWithItsSessionText) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  const int imBefore = LogoutsAt(ImServerUrl(), L"im-session-logout-check");
  const int wapBefore = LogoutsAt(WapLoginUrl(), L"wap-session-logout-check");
  ASSERT_GE(imBefore, 0);

  LoginResult result;
  library->SetNewHttpLoginServer(ImServerUrl());
  ASSERT_TRUE(library->HttpLogin(L"logout-check", L"x", result));
  library->SetNewHttpLoginServer(WapLoginUrl());  // named, but not logged in to
  ASSERT_FALSE(library->HttpLogin(L"both-refuse", L"x", result));

  EXPECT_TRUE(library->HttpLogout());
  EXPECT_EQ(LogoutsAt(ImServerUrl(), L"im-session-logout-check"), imBefore + 1);
  EXPECT_EQ(LogoutsAt(WapLoginUrl(), L"wap-session-logout-check"), wapBefore);
  EXPECT_FALSE(library->HttpLogout()) << "the session is over";
  EXPECT_EQ(LogoutsAt(ImServerUrl(), L"im-session-logout-check"), imBefore + 1);
}

// Each test counts the logouts of sessions of its own user: tests run side by side against one
// simulator.
TEST_F(Logout, EveryAcceptedLoginIsLoggedOutOnce) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  const int imBefore = LogoutsAt(ImServerUrl(), L"im-session-logout-last");
  const int wapBefore = LogoutsAt(WapLoginUrl(), L"wap-session-logout-last");
  LoginResult result;
  for (const Text& server : {ImServerUrl(), WapLoginUrl()}) {
    library->SetNewHttpLoginServer(server);
    ASSERT_TRUE(library->HttpLogin(L"logout-last", L"x", result));
  }
  EXPECT_TRUE(library->HttpLogout());
  EXPECT_EQ(LogoutsAt(ImServerUrl(), L"im-session-logout-last"), imBefore + 1);
  EXPECT_EQ(LogoutsAt(WapLoginUrl(), L"wap-session-logout-last"), wapBefore + 1);
  EXPECT_FALSE(library->HttpLogout());
  EXPECT_EQ(LogoutsAt(WapLoginUrl(), L"wap-session-logout-last"), wapBefore + 1);
}

TEST_F(Logout, WithoutASessionNothingIsSentAndAHangingServerIsLeftInTime) {
  const auto library = CreateHttpServiceLibrary(kShortTimeouts);
  EXPECT_FALSE(library->HttpLogout());

  LoginResult result;
  library->SetNewHttpLoginServer(ImServerUrl());
  ASSERT_TRUE(library->HttpLogin(L"logout-hang", L"x", result));
  Stopwatch watch;
  EXPECT_FALSE(library->HttpLogout());
  EXPECT_LT(watch.Seconds(), 2.0);
  EXPECT_EQ(LogoutsAt(ImServerUrl(), L"im-session-logout-hang") > 0, true);
}

TEST_F(Logout, SessionsEndTogetherSoAHangingOneDelaysTheRestByNoMoreThanItsTimeOut) {
  const auto library = CreateHttpServiceLibrary(kShortTimeouts);
  const int wapBefore = LogoutsAt(WapLoginUrl(), L"wap-session-logout-pair");
  LoginResult result;
  for (const Text& server : {ImServerUrl(), WapLoginUrl()}) {
    library->SetNewHttpLoginServer(server);
    ASSERT_TRUE(library->HttpLogin(L"logout-pair", L"x", result));
  }
  Stopwatch watch;
  EXPECT_FALSE(library->HttpLogout()) << "the IM server's logout hangs";
  EXPECT_LT(watch.Seconds(), 1.5) << "one request time-out (0.5 s), not one per session";
  EXPECT_EQ(LogoutsAt(WapLoginUrl(), L"wap-session-logout-pair"), wapBefore + 1);
}

}  // namespace
