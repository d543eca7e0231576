#include "service/http_service_library.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "service/address_reply.h"
#include "service/form_encoding.h"
#include "service/http_transport.h"
#include "service/login_result_json.h"
#include "service/service_call_state.h"
#include "service/tcp_connection.h"
#include "service/tcp_error_codes.h"
#include "service/transfer_codes.h"
#include "support/secret_wipe.h"
#include "support/worker_thread.h"

namespace {

constexpr const char* kFormType = "application/x-www-form-urlencoded";

class HttpServiceLibrary final : public ServiceLibrary {
 public:
  using Clock = std::chrono::steady_clock;

  explicit HttpServiceLibrary(HttpClientTimeouts timeouts) : timeouts_(timeouts) {}

  bool SetNewHttpLoginServer(Text url) override {
    state_.SetLoginServer(std::move(url));
    return true;
  }

  bool HttpLogin(Text userName, Text password, LoginResult& result) override {
    const ServiceCallState::Attempt attempt = state_.BeginLogin();
    const std::string user = ToUtf8(userName);
    std::string secret = ToUtf8(password);
    HttpRequest request;
    request.url = attempt.serverUrl + L"login";
    request.post = true;
    request.contentType = kFormType;
    request.body = EncodeForm({{"userName", user}, {"password", secret}});
    const HttpReply reply = SendHttpRequest(request, timeouts_);
    // Every copy of the password this call made, and the one it was given.
    WipeBytes(request.body);
    WipeBytes(secret);
    WipeText(password);

    int32_t transferCode = reply.transferCode;
    bool accepted = false;
    if (transferCode == transfer_code::kOk && reply.status == 200) {
      accepted = DecodeLoginResult(reply.body, result);
      if (!accepted) transferCode = transfer_code::kWeirdReply;
    }
    const std::optional<ServiceCallState::Session> late = state_.EndLogin(
        attempt, reply.status, transferCode, accepted ? &result.loginText : nullptr);
    if (late) LogOut(*late, LateLogoutTimeouts());
    state_.LoginEnded();
    return accepted;
  }

  int32_t GetHttpCode() override { return state_.HttpCode(); }
  int32_t GetCurlCode() override { return state_.TransferCode(); }

  // Ends every session accepted since the last logout.
  bool HttpLogout() override { return LogOutAll(state_.TakeSessions(), timeouts_); }

  void EndSessionsOnClose(Clock::time_point deadline) override {
    {
      std::lock_guard<std::mutex> guard(closeLock_);
      closeDeadline_ = deadline;
    }
    LogOutAll(state_.BeginClose(), LateLogoutTimeouts());
    state_.WaitForLogins(deadline);
  }

  bool GetLocalIP(Text url, Text& address) override {
    HttpRequest request;
    request.url = std::move(url);
    const HttpReply reply = SendHttpRequest(request, timeouts_);
    if (reply.transferCode != transfer_code::kOk || reply.status != 200) return false;
    address = AddressFromReply(reply.body);
    return true;
  }

  // Nothing this client does goes to the address-book server, so the name is not kept.
  bool SetNewHttpContacterServer(Text) override { return true; }

  bool CreateTCP(Text host, int16_t port) override {
    std::lock_guard<std::mutex> guard(tcpLock_);
    int32_t error = 0;
    // Windows would resolve an empty name to this machine; no name is no host on every platform.
    if (host.empty()) {
      tcp_.Close();
      lastTcpError_ = tcp_error::kHostNotFound;
      return false;
    }
    // The port travels as int16; ports above 32767 arrive negative.
    if (tcp_.Create(host, static_cast<uint16_t>(port), error)) return true;
    lastTcpError_ = error;
    return false;
  }

  bool ConnectTCP() override {
    std::lock_guard<std::mutex> guard(tcpLock_);
    int32_t error = 0;
    if (tcp_.Connect(timeouts_.connectMs, error)) return true;
    lastTcpError_ = error;
    return false;
  }

  bool DisConnectTCP() override {
    std::lock_guard<std::mutex> guard(tcpLock_);
    return tcp_.Close();
  }

  int32_t GetLastTcpError() override { return lastTcpError_.load(); }

 private:
  // All at once, so that the caller waits no longer than for one request. True when there was
  // one and every one ended.
  bool LogOutAll(const std::vector<ServiceCallState::Session>& sessions,
                 const HttpClientTimeouts& timeouts) const {
    if (sessions.empty()) return false;
    std::vector<char> ended(sessions.size(), 0);
    std::vector<std::thread> senders(sessions.size());
    for (size_t i = 0; i < sessions.size(); ++i) {
      auto send = [this, &sessions, &ended, &timeouts, i] {
        ended[i] = LogOut(sessions[i], timeouts) ? 1 : 0;
      };
      if (!StartThread(senders[i], send)) send();
    }
    for (std::thread& sender : senders) {
      if (sender.joinable()) sender.join();
    }
    return std::all_of(ended.begin(), ended.end(), [](char e) { return e != 0; });
  }

  // Within kCloseLogoutLimit, and once the program is closing within what is left until its end.
  HttpClientTimeouts LateLogoutTimeouts() const {
    int limitMs = static_cast<int>(kCloseLogoutLimit.count());
    {
      std::lock_guard<std::mutex> guard(closeLock_);
      if (closeDeadline_) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(*closeDeadline_ - Clock::now());
        limitMs = std::clamp(static_cast<int>(left.count()), 1, limitMs);
      }
    }
    return HttpClientTimeouts{std::min(timeouts_.connectMs, limitMs),
                              std::min(timeouts_.requestMs, limitMs)};
  }

  bool LogOut(const ServiceCallState::Session& session, const HttpClientTimeouts& timeouts) const {
    HttpRequest request;
    request.url = session.serverUrl + L"logout";
    request.post = true;
    request.contentType = kFormType;
    request.body = EncodeForm({{"session", ToUtf8(session.loginText)}});
    const HttpReply reply = SendHttpRequest(request, timeouts);
    return reply.transferCode == transfer_code::kOk && reply.status == 200;
  }

  const HttpClientTimeouts timeouts_;
  ServiceCallState state_;
  mutable std::mutex closeLock_;
  std::optional<Clock::time_point> closeDeadline_;
  std::mutex tcpLock_;
  TcpConnection tcp_;
  std::atomic<int32_t> lastTcpError_{0};
};

}  // namespace

std::shared_ptr<ServiceLibrary> CreateHttpServiceLibrary(HttpClientTimeouts timeouts) {
  return std::make_shared<HttpServiceLibrary>(timeouts);
}
