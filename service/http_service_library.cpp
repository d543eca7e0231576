#include "service/http_service_library.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
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
#include "support/program_closing.h"
#include "support/secret_wipe.h"
#include "support/worker_thread.h"

namespace {

constexpr const char* kFormType = "application/x-www-form-urlencoded";

class HttpServiceLibrary final : public ServiceLibrary,
                                 public std::enable_shared_from_this<HttpServiceLibrary> {
 public:
  using Clock = std::chrono::steady_clock;

  HttpServiceLibrary(HttpClientTimeouts timeouts, HttpSend send)
      : timeouts_(timeouts), send_(std::move(send)) {}

  bool SetNewHttpLoginServer(Text url) override {
    state_.SetLoginServer(std::move(url));
    return true;
  }

  bool HttpLogin(Text userName, Text password, LoginResult& result) override {
    // Once the program is closing no login goes out: its session might outlive the close.
    const std::optional<ServiceCallState::Attempt> attempt = state_.BeginLogin();
    if (!attempt) {
      WipeText(password);
      return false;
    }
    const std::string user = ToUtf8(userName);
    std::string secret = SecretToUtf8(password);
    HttpRequest request;
    request.url = attempt->serverUrl + L"login";
    request.post = true;
    request.contentType = kFormType;
    request.body = EncodeForm({{"userName", user}, {"password", secret}});
    const HttpReply reply = send_(request, timeouts_);
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
        *attempt, reply.status, transferCode, accepted ? &result.loginText : nullptr);
    if (late) LogOut(*late, LateLogoutLimits());
    state_.LoginEnded();
    return accepted;
  }

  int32_t GetHttpCode() override { return state_.HttpCode(); }
  int32_t GetCurlCode() override { return state_.TransferCode(); }

  // Ends every session accepted since the last logout.
  bool HttpLogout() override { return LogOutAll(state_.TakeSessions()); }

  // Each logout on a thread of its own that co-owns the library, so that the close waits for
  // them only until its deadline, whatever the network does; the process ends then.
  void EndSessionsOnClose(Clock::time_point deadline) override {
    const std::shared_ptr<HttpServiceLibrary> self = shared_from_this();
    for (const ServiceCallState::Session& session : state_.BeginClose(deadline)) {
      auto send = [self, session] {
        self->LogOut(session, self->LateLogoutLimits());
        self->state_.LogoutEnded();
      };
      if (!StartDetachedThread(send)) send();
    }
    state_.WaitForCalls(deadline);
  }

  bool GetLocalIP(Text url, Text& address) override {
    HttpRequest request;
    request.url = std::move(url);
    const HttpReply reply = send_(request, timeouts_);
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
  bool LogOutAll(const std::vector<ServiceCallState::Session>& sessions) const {
    if (sessions.empty()) return false;
    std::vector<char> ended(sessions.size(), 0);
    std::vector<std::thread> senders(sessions.size());
    for (size_t i = 0; i < sessions.size(); ++i) {
      auto send = [this, &sessions, &ended, i] {
        ended[i] = LogOut(sessions[i], timeouts_) ? 1 : 0;
        state_.LogoutEnded();
      };
      if (!StartThread(senders[i], send)) send();
    }
    for (std::thread& sender : senders) {
      if (sender.joinable()) sender.join();
    }
    return std::all_of(ended.begin(), ended.end(), [](char e) { return e != 0; });
  }

  HttpClientTimeouts LateLogoutLimits() const {
    const int limitMs = static_cast<int>(kCloseLogoutLimit.count());
    return HttpClientTimeouts{std::min(timeouts_.connectMs, limitMs),
                              std::min(timeouts_.requestMs, limitMs)};
  }

  // Within `limits`, and once the program is closing within what is left until the close's
  // deadline, counted from the moment the request starts; nothing goes out after it.
  bool LogOut(const ServiceCallState::Session& session, HttpClientTimeouts limits) const {
    if (const std::optional<Clock::time_point> deadline = state_.CloseDeadline()) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
      if (left <= 0) return false;
      const int leftMs = static_cast<int>(std::min<long long>(left, limits.requestMs));
      limits = HttpClientTimeouts{std::min(limits.connectMs, leftMs), leftMs};
    } else if (ProgramClosing()) {
      // The close has begun but not yet set its deadline: no longer than a logout of the close.
      const HttpClientTimeouts late = LateLogoutLimits();
      limits = HttpClientTimeouts{std::min(limits.connectMs, late.connectMs),
                                  std::min(limits.requestMs, late.requestMs)};
    }
    HttpRequest request;
    request.url = session.serverUrl + L"logout";
    request.post = true;
    request.contentType = kFormType;
    request.body = EncodeForm({{"session", ToUtf8(session.loginText)}});
    const HttpReply reply = send_(request, limits);
    return reply.transferCode == transfer_code::kOk && reply.status == 200;
  }

  const HttpClientTimeouts timeouts_;
  const HttpSend send_;
  mutable ServiceCallState state_;
  std::mutex tcpLock_;
  TcpConnection tcp_;
  std::atomic<int32_t> lastTcpError_{0};
};

}  // namespace

std::shared_ptr<ServiceLibrary> CreateHttpServiceLibrary(HttpClientTimeouts timeouts) {
  return CreateHttpServiceLibrary(timeouts, SendHttpRequest);
}

std::shared_ptr<ServiceLibrary> CreateHttpServiceLibrary(HttpClientTimeouts timeouts,
                                                         HttpSend send) {
  return std::make_shared<HttpServiceLibrary>(timeouts, std::move(send));
}
