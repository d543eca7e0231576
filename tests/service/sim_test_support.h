// Tests against the service simulator that scripts/netns-run starts in the test's namespace,
// serving sim/scenarios/default.json: each test picks its outcome by the user name it logs in with.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "service/http_service_library.h"
#include "support/text.h"
#include "testrun/service_urls.h"

// The built-in ImServerUrl, WapLoginUrl and ClientAddressUrl are the simulator's servers.
Text DeadUrl();  // a loopback port where nothing listens
inline constexpr const wchar_t* kTcpHost = L"127.0.0.6";
inline constexpr const wchar_t* kUnresolvableHost = L"quorvex-test.invalid";

// Generous for answers that come at once; short for waiting on a server that does not answer.
inline constexpr HttpClientTimeouts kPromptTimeouts{2000, 4000};
inline constexpr HttpClientTimeouts kShortTimeouts{300, 500};

// Fails every test when the simulator is not running.
class SimTest : public testing::Test {
 protected:
  void SetUp() override;
};

// How many requests of a kind the simulator has seen, from one of its counters such as
// ImServerUrl() + L"sim/logins?user=NAME"; -1 when it did not answer.
int SimCount(const Text& counterUrl);
// Until the counter reaches `count`; false when it had not within `limit`.
bool WaitForSimCount(const Text& counterUrl, int count, std::chrono::milliseconds limit);

class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
