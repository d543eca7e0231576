#include "service/service_call_state.h"

#include <utility>

void ServiceCallState::SetLoginServer(Text url) {
  std::lock_guard<std::mutex> guard(lock_);
  loginServerUrl_ = std::move(url);
}

std::optional<ServiceCallState::Attempt> ServiceCallState::BeginLogin() {
  std::lock_guard<std::mutex> guard(lock_);
  httpCode_ = 0;
  transferCode_ = 0;
  if (closeDeadline_) return std::nullopt;
  ++loginsUnderWay_;
  return Attempt{loginServerUrl_, ++lastTicket_, logouts_};
}

std::optional<ServiceCallState::Session> ServiceCallState::EndLogin(const Attempt& attempt,
                                                                    int32_t httpCode,
                                                                    int32_t transferCode,
                                                                    const Text* loginText) {
  std::lock_guard<std::mutex> guard(lock_);
  if (attempt.ticket == lastTicket_) {
    httpCode_ = httpCode;
    transferCode_ = transferCode;
  }
  if (loginText == nullptr) return std::nullopt;
  Session session{attempt.serverUrl, *loginText};
  if (closeDeadline_ || attempt.logouts != logouts_) return session;
  sessions_.push_back(std::move(session));
  return std::nullopt;
}

void ServiceCallState::LoginEnded() {
  std::lock_guard<std::mutex> guard(lock_);
  if (loginsUnderWay_ > 0) --loginsUnderWay_;
  callEnded_.notify_all();
}

int32_t ServiceCallState::HttpCode() const {
  std::lock_guard<std::mutex> guard(lock_);
  return httpCode_;
}

int32_t ServiceCallState::TransferCode() const {
  std::lock_guard<std::mutex> guard(lock_);
  return transferCode_;
}

std::vector<ServiceCallState::Session> ServiceCallState::TakeSessions() {
  std::lock_guard<std::mutex> guard(lock_);
  return TakeSessionsLocked();
}

std::vector<ServiceCallState::Session> ServiceCallState::TakeSessionsLocked() {
  ++logouts_;
  std::vector<Session> sessions = std::move(sessions_);
  sessions_.clear();
  logoutsUnderWay_ += sessions.size();
  return sessions;
}

void ServiceCallState::LogoutEnded() {
  std::lock_guard<std::mutex> guard(lock_);
  if (logoutsUnderWay_ > 0) --logoutsUnderWay_;
  callEnded_.notify_all();
}

std::vector<ServiceCallState::Session> ServiceCallState::BeginClose(
    std::chrono::steady_clock::time_point deadline) {
  std::lock_guard<std::mutex> guard(lock_);
  if (!closeDeadline_) closeDeadline_ = deadline;
  return TakeSessionsLocked();
}

std::optional<std::chrono::steady_clock::time_point> ServiceCallState::CloseDeadline() const {
  std::lock_guard<std::mutex> guard(lock_);
  return closeDeadline_;
}

bool ServiceCallState::WaitForCalls(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock<std::mutex> hold(lock_);
  return callEnded_.wait_until(hold, deadline,
                               [this] { return loginsUnderWay_ == 0 && logoutsUnderWay_ == 0; });
}
