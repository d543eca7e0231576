#include "support/service_call_state.h"

#include <utility>

void ServiceCallState::SetLoginServer(Text url) {
  std::lock_guard<std::mutex> guard(lock_);
  loginServerUrl_ = std::move(url);
}

void ServiceCallState::SetContacterServer(Text url) {
  std::lock_guard<std::mutex> guard(lock_);
  contacterServerUrl_ = std::move(url);
}

Text ServiceCallState::ContacterServer() const {
  std::lock_guard<std::mutex> guard(lock_);
  return contacterServerUrl_;
}

ServiceCallState::Attempt ServiceCallState::BeginLogin() {
  std::lock_guard<std::mutex> guard(lock_);
  httpCode_ = 0;
  transferCode_ = 0;
  return Attempt{loginServerUrl_, ++lastTicket_};
}

void ServiceCallState::EndLogin(const Attempt& attempt, int32_t httpCode, int32_t transferCode,
                                const Text* loginText) {
  std::lock_guard<std::mutex> guard(lock_);
  if (loginText != nullptr) sessions_.push_back(Session{attempt.serverUrl, *loginText});
  if (attempt.ticket != lastTicket_) return;
  httpCode_ = httpCode;
  transferCode_ = transferCode;
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
  std::vector<Session> sessions = std::move(sessions_);
  sessions_.clear();
  return sessions;
}
