// Closing the program at any moment of a run, through the service seam: the real client over an
// exchange the test holds, the real close. Each test is a process of its own, as the closing flag
// is never cleared. Every accepted session must be logged out exactly once before the close comes
// back, and nothing but a logout may start once the close has begun.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "probe/ping_batch.h"
#include "service/http_transport.h"
#include "service/login_result_json.h"
#include "service/transfer_codes.h"
#include "support/program_closing.h"
#include "support/service_library.h"
#include "testrun/program_close.h"

namespace {

using Clock = std::chrono::steady_clock;

// A logout the close waits for ends this long after the close began, well inside its budget; one
// it does not wait for ends only once the close is back.
constexpr std::chrono::milliseconds kLogoutTime{500};

// The service: logins wait until let through, then each brings a session of its own; logouts wait
// for the close to begin, then for it to come back or kLogoutTime, or time out as the client said.
class HeldService {
 public:
  HttpReply Send(const HttpRequest& request, const HttpClientTimeouts& timeouts) {
    std::unique_lock<std::mutex> hold(lock_);
    const bool logout =
        request.url.size() >= 6 && request.url.substr(request.url.size() - 6) == L"logout";
    if (closeBegun_ && !logout) ++startedAfterClose_;
    const std::chrono::milliseconds limit{timeouts.requestMs};
    if (closeBegun_ &&
        Clock::now() + limit > closeStart_ + kCloseBudget + std::chrono::milliseconds(100))
      ++pastDeadline_;
    ++(logout ? logoutsStarted_ : loginsStarted_);
    changed_.notify_all();
    HttpReply reply;
    reply.status = 200;
    if (!logout) {
      changed_.wait(hold, [this] { return loginsOpen_; });
      LoginResult result;
      result.loginText = L"session-" + std::to_wstring(accepted_.size() + 1);
      accepted_.push_back("session=" + ToUtf8(result.loginText));
      reply.body = EncodeLoginResult(result);
      return reply;
    }
    changed_.wait(hold, [this] { return closeBegun_; });
    if (logoutsHang_ || limit < kLogoutTime) {
      changed_.wait_for(hold, limit, [] { return false; });
      return HttpReply{0, transfer_code::kTimedOut, {}};
    }
    changed_.wait_for(hold, kLogoutTime, [this] { return closeBack_; });
    ++(closeBack_ ? logoutsAfterClose_ : logouts_[request.body]);
    return reply;
  }

  void OpenLogins() { Set(loginsOpen_); }
  // Logouts answer only once the close is back, however long it waits.
  void HangLogouts() { Set(logoutsHang_); }
  void WaitForStarts(int logins, int logouts) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return loginsStarted_ >= logins && logoutsStarted_ >= logouts; });
  }
  void WaitForCloseBegun() {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [this] { return closeBegun_; });
  }

  // The program's close, as the entry point makes it; the service learns when it began and ended.
  void Close() {
    closeStart_ = Clock::now();
    BeginProgramClose();
    Set(closeBegun_);
    const Clock::time_point start = Clock::now();
    CloseRun();
    EXPECT_LE(Clock::now() - start, kCloseBudget + std::chrono::milliseconds(500));
    Set(closeBack_);
  }

  void ExpectEverySessionEndedOnceAndNothingNewAfterTheClose() {
    std::lock_guard<std::mutex> hold(lock_);
    EXPECT_FALSE(accepted_.empty());
    for (const std::string& session : accepted_) {
      EXPECT_EQ(logouts_[session], 1) << session << " ended before the close came back";
    }
    EXPECT_EQ(logouts_.size(), accepted_.size()) << "a logout of a session never accepted";
    EXPECT_EQ(logoutsAfterClose_, 0) << "a logout the close did not wait for";
    EXPECT_EQ(startedAfterClose_, 0) << "a request other than a logout after the close began";
    EXPECT_EQ(pastDeadline_, 0) << "a request of the close allowed to outlast its deadline";
  }

 private:
  void Set(bool& flag) {
    std::lock_guard<std::mutex> hold(lock_);
    flag = true;
    changed_.notify_all();
  }

  std::mutex lock_;
  std::condition_variable changed_;
  bool loginsOpen_ = false;
  bool logoutsHang_ = false;
  bool closeBegun_ = false;
  bool closeBack_ = false;
  int loginsStarted_ = 0;
  int logoutsStarted_ = 0;
  int startedAfterClose_ = 0;
  int logoutsAfterClose_ = 0;
  int pastDeadline_ = 0;
  Clock::time_point closeStart_;  // read once closeBegun_ is set
  std::vector<std::string> accepted_;
  std::map<std::string, int> logouts_;
};

// The client over the held service; the TCP test connects only once the test lets it, and counts
// the steps it was asked for after the close began.
class CloseTest : public testing::Test, public ServiceLibrary {
 protected:
  void SetUp() override {
    client_ = CreateHttpServiceLibrary(
        {}, [this](const HttpRequest& request, const HttpClientTimeouts& timeouts) {
          return service_->Send(request, timeouts);
        });
    InstallServiceLibrary(std::shared_ptr<ServiceLibrary>(this, [](ServiceLibrary*) {}));
  }
  void TearDown() override {
    ReleaseTcp();
    if (run_.joinable()) run_.join();
  }

  // A pass's login as the stage makes it.
  static bool LogIn(const Text& server) {
    ::SetNewHttpLoginServer(server);
    LoginResult result;
    return ::HttpLogin(L"user", L"secret", result);
  }
  // What a run does after the step the close interrupts: none of it may reach the network.
  static void GoOn() {
    ::CreateTCP(L"127.0.0.6", 5061);
    ::ConnectTCP();
    LogIn(L"http://wap.test/");
    ::HttpLogout();
  }

  void ReleaseTcp() {
    std::lock_guard<std::mutex> hold(tcpLock_);
    tcpReleased_ = true;
    tcpChanged_.notify_all();
  }
  void WaitForTcp() {
    std::unique_lock<std::mutex> hold(tcpLock_);
    tcpChanged_.wait(hold, [this] { return tcpEntered_; });
  }

  bool SetNewHttpLoginServer(Text url) override { return client_->SetNewHttpLoginServer(url); }
  bool HttpLogin(Text userName, Text password, LoginResult& result) override {
    return client_->HttpLogin(userName, password, result);
  }
  int32_t GetHttpCode() override { return client_->GetHttpCode(); }
  int32_t GetCurlCode() override { return client_->GetCurlCode(); }
  bool HttpLogout() override { return client_->HttpLogout(); }
  bool GetLocalIP(Text url, Text& address) override { return client_->GetLocalIP(url, address); }
  bool SetNewHttpContacterServer(Text url) override {
    return client_->SetNewHttpContacterServer(url);
  }
  bool CreateTCP(Text, int16_t) override {
    tcpAfterClose_ += ProgramClosing() ? 1 : 0;
    return true;
  }
  bool ConnectTCP() override {
    tcpAfterClose_ += ProgramClosing() ? 1 : 0;
    std::unique_lock<std::mutex> hold(tcpLock_);
    tcpEntered_ = true;
    tcpChanged_.notify_all();
    tcpChanged_.wait(hold, [this] { return tcpReleased_; });
    return false;
  }
  bool DisConnectTCP() override { return true; }
  int32_t GetLastTcpError() override { return 0; }
  void EndSessionsOnClose(Clock::time_point deadline) override {
    client_->EndSessionsOnClose(deadline);
  }

  // Never freed, as a logout the close stopped waiting for may still be inside it while the test
  // ends; each test is a process of its own.
  static HeldService& TheService() {
    static HeldService* const service = new HeldService;
    return *service;
  }
  HeldService* const service_ = &TheService();
  std::shared_ptr<ServiceLibrary> client_;
  std::thread run_;
  std::atomic<int> tcpAfterClose_{0};
  std::mutex tcpLock_;
  std::condition_variable tcpChanged_;
  bool tcpEntered_ = false;
  bool tcpReleased_ = false;
};

TEST_F(CloseTest, DuringALoginItsSessionIsEndedOnceItComes) {
  run_ = std::thread([] {
    LogIn(L"http://im.test/");
    GoOn();
  });
  service_->WaitForStarts(1, 0);
  std::thread answer([this] {
    service_->WaitForCloseBegun();
    std::this_thread::sleep_for(kCloseBudget / 2);
    service_->OpenLogins();
  });
  service_->Close();
  answer.join();
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
}

TEST_F(CloseTest, DuringTheRunsOwnLogoutTheSessionsTakenButNotYetEndedAreWaitedFor) {
  service_->OpenLogins();
  ASSERT_TRUE(LogIn(L"http://im.test/"));
  ASSERT_TRUE(LogIn(L"http://wap.test/"));
  run_ = std::thread([] { ::HttpLogout(); });
  service_->WaitForStarts(2, 2);
  service_->Close();
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
}

TEST_F(CloseTest, DuringTheTcpTestTheSessionIsEndedAndNoStepFollows) {
  service_->OpenLogins();
  run_ = std::thread([] {
    LogIn(L"http://im.test/");
    ::CreateTCP(L"127.0.0.6", 5061);
    ::ConnectTCP();
    GoOn();
  });
  WaitForTcp();
  service_->Close();
  ReleaseTcp();
  run_.join();
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
  EXPECT_EQ(tcpAfterClose_.load(), 0);
}

TEST_F(CloseTest, DuringTheSurveyTheEchoesStopTheSessionIsEndedAndNoStepFollows) {
  service_->OpenLogins();
  ASSERT_TRUE(LogIn(L"http://im.test/"));
  std::mutex lock;
  std::condition_variable changed;
  int echoing = 0;
  ProbeSettings settings;
  settings.makeEcho = [&] {
    return [&](EchoResult& result, const Text&, uint32_t) {
      std::unique_lock<std::mutex> hold(lock);
      ++echoing;
      changed.notify_all();
      hold.unlock();
      service_->WaitForCloseBegun();  // each echo is under way when the close comes
      result.roundTripTime = 1;
      return true;
    };
  };
  run_ = std::thread([settings] {
    PingBatch batch(settings);
    batch.socketsReady = true;
    std::vector<NodeResult> nodes(2);
    nodes[0].address = L"127.0.0.7";
    nodes[1].address = L"127.0.0.8";
    batch.Run(nodes);
    GoOn();
  });
  {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [&] { return echoing == 2; });
  }
  service_->Close();
  run_.join();
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
  EXPECT_EQ(echoing, 2) << "a probe thread went on echoing after the close";
}

TEST_F(CloseTest, ALoginAnsweredInTheSameInstantAsTheCloseIsEndedOnce) {
  run_ = std::thread([] {
    LogIn(L"http://im.test/");
    GoOn();
  });
  service_->WaitForStarts(1, 0);
  std::thread answer([this] { service_->OpenLogins(); });
  service_->Close();
  answer.join();
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
}

TEST_F(CloseTest, ALoginReachingTheClientAfterTheCloseBeganSendsNothing) {
  service_->OpenLogins();
  ASSERT_TRUE(LogIn(L"http://im.test/"));
  service_->Close();
  // As a stage that passed the closing check just before the close would call it.
  LoginResult result;
  EXPECT_FALSE(client_->HttpLogin(L"user", L"secret", result));
  EXPECT_EQ(client_->GetHttpCode(), 0);
  service_->ExpectEverySessionEndedOnceAndNothingNewAfterTheClose();
}

TEST_F(CloseTest, ALogoutThatNeverAnswersHoldsTheCloseNoLongerThanItsBudget) {
  service_->OpenLogins();
  ASSERT_TRUE(LogIn(L"http://im.test/"));
  service_->HangLogouts();
  service_->Close();  // within the budget, or the close waited for the network
  service_->WaitForStarts(1, 1);
}

}  // namespace
