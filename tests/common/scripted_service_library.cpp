#include "tests/common/scripted_service_library.h"

ScriptedLogin ScriptedLogin::Accept(LoginResult result) {
  ScriptedLogin login;
  login.accept = true;
  login.httpCode = 200;
  login.result = std::move(result);
  return login;
}

ScriptedLogin ScriptedLogin::Refuse(int32_t httpCode, int32_t curlCode) {
  ScriptedLogin login;
  login.httpCode = httpCode;
  login.curlCode = curlCode;
  return login;
}

ScriptedServiceLibrary::~ScriptedServiceLibrary() = default;

void ScriptedServiceLibrary::Script(const Text& url, ScriptedLogin login) {
  std::lock_guard<std::mutex> guard(lock_);
  logins_[url] = std::move(login);
}

void ScriptedServiceLibrary::ScriptLocalAddress(std::optional<Text> address,
                                                std::chrono::milliseconds delay) {
  std::lock_guard<std::mutex> guard(lock_);
  localAddress_ = std::move(address);
  localAddressDelay_ = delay;
}

std::vector<std::string> ScriptedServiceLibrary::Calls() {
  std::lock_guard<std::mutex> guard(lock_);
  return calls_;
}

int ScriptedServiceLibrary::CountCalls(const std::string& prefix) {
  std::lock_guard<std::mutex> guard(lock_);
  int count = 0;
  for (const std::string& call : calls_) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
  return count;
}

void ScriptedServiceLibrary::ReleaseDelays() {
  std::lock_guard<std::mutex> guard(lock_);
  delaysReleased_ = true;
  released_.notify_all();
}

bool ScriptedServiceLibrary::WaitForLoginsReturned(int count, std::chrono::milliseconds limit) {
  std::unique_lock<std::mutex> guard(lock_);
  return released_.wait_for(guard, limit, [&] { return loginsReturned_ >= count; });
}

void ScriptedServiceLibrary::Record(std::string call) { calls_.push_back(std::move(call)); }

void ScriptedServiceLibrary::Sleep(std::unique_lock<std::mutex>& guard,
                                   std::chrono::milliseconds delay) {
  if (delay.count() > 0) released_.wait_for(guard, delay, [this] { return delaysReleased_; });
}

bool ScriptedServiceLibrary::SetNewHttpLoginServer(Text url) {
  std::lock_guard<std::mutex> guard(lock_);
  Record("SetNewHttpLoginServer " + ToUtf8(url));
  loginServer_ = std::move(url);
  return true;
}

bool ScriptedServiceLibrary::HttpLogin(Text userName, Text password, LoginResult& result) {
  std::unique_lock<std::mutex> guard(lock_);
  const Text server = loginServer_;
  Record("HttpLogin " + ToUtf8(userName) + "|" + ToUtf8(password) + " at " + ToUtf8(server));
  const auto found = logins_.find(server);
  const ScriptedLogin login = found != logins_.end() ? found->second : ScriptedLogin::Refuse(404);
  Sleep(guard, login.delay);
  httpCode_ = login.httpCode;
  curlCode_ = login.curlCode;
  if (login.accept) result = login.result;
  ++loginsReturned_;
  released_.notify_all();
  return login.accept;
}

int32_t ScriptedServiceLibrary::GetHttpCode() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("GetHttpCode");
  return httpCode_;
}

int32_t ScriptedServiceLibrary::GetCurlCode() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("GetCurlCode");
  return curlCode_;
}

bool ScriptedServiceLibrary::HttpLogout() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("HttpLogout");
  return true;
}

bool ScriptedServiceLibrary::GetLocalIP(Text url, Text& address) {
  std::unique_lock<std::mutex> guard(lock_);
  Record("GetLocalIP " + ToUtf8(url));
  Sleep(guard, localAddressDelay_);
  if (!localAddress_) return false;
  address = *localAddress_;
  return true;
}

bool ScriptedServiceLibrary::SetNewHttpContacterServer(Text url) {
  std::lock_guard<std::mutex> guard(lock_);
  Record("SetNewHttpContacterServer " + ToUtf8(url));
  return true;
}

bool ScriptedServiceLibrary::CreateTCP(Text host, int16_t port) {
  std::function<void()> hook;
  {
    std::lock_guard<std::mutex> guard(lock_);
    hook = createTcpHook_;
  }
  if (hook) hook();
  std::lock_guard<std::mutex> guard(lock_);
  Record("CreateTCP " + ToUtf8(host) + " " + std::to_string(port));
  const auto found = tcpNodes_.find({host, port});
  tcpNode_ = found != tcpNodes_.end() ? found->second : ScriptedTcp{false, false, 0};
  if (!tcpNode_.created) lastTcpError_ = tcpNode_.error;
  return tcpNode_.created;
}

bool ScriptedServiceLibrary::ConnectTCP() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("ConnectTCP");
  if (!tcpNode_.connected) lastTcpError_ = tcpNode_.error;
  return tcpNode_.created && tcpNode_.connected;
}

bool ScriptedServiceLibrary::DisConnectTCP() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("DisConnectTCP");
  return true;
}

int32_t ScriptedServiceLibrary::GetLastTcpError() {
  std::lock_guard<std::mutex> guard(lock_);
  Record("GetLastTcpError");
  return lastTcpError_;
}

void ScriptedServiceLibrary::ScriptTcp(const Text& host, int16_t port, ScriptedTcp outcome) {
  std::lock_guard<std::mutex> guard(lock_);
  tcpNodes_[{host, port}] = outcome;
}

void ScriptedServiceLibrary::OnCreateTcp(std::function<void()> hook) {
  std::lock_guard<std::mutex> guard(lock_);
  createTcpHook_ = std::move(hook);
}
