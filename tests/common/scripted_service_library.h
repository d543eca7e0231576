// A service library whose answers a test scripts per login server URL, and which records calls.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/service_library.h"

struct ScriptedLogin {
  bool accept = false;
  int32_t httpCode = 0;
  int32_t curlCode = 0;
  LoginResult result;
  std::chrono::milliseconds delay{0};  // before HttpLogin returns

  static ScriptedLogin Accept(LoginResult result = {});
  static ScriptedLogin Refuse(int32_t httpCode, int32_t curlCode = 0);
};

// What CreateTCP and ConnectTCP to one host and port do; `error` is what GetLastTcpError reports
// after the failing call.
struct ScriptedTcp {
  bool created = true;
  bool connected = true;
  int32_t error = 0;
};

class ScriptedServiceLibrary : public ServiceLibrary {
 public:
  ~ScriptedServiceLibrary() override;

  // What a login at `url` does; unscripted URLs refuse with 404.
  void Script(const Text& url, ScriptedLogin login);
  // What GetLocalIP answers; nullopt fails and leaves the text alone.
  void ScriptLocalAddress(std::optional<Text> address, std::chrono::milliseconds delay = {});

  // What a TCP node does; an unscripted node fails CreateTCP with error 0.
  void ScriptTcp(const Text& host, int16_t port, ScriptedTcp outcome);
  // Runs on every CreateTCP, outside the library's lock, before the call is answered.
  void OnCreateTcp(std::function<void()> hook);

  // Every call in order, e.g. "SetNewHttpLoginServer http://...", "HttpLogin user|pass".
  std::vector<std::string> Calls();
  int CountCalls(const std::string& prefix);
  // Lets delayed calls return at once (used when a test ends).
  void ReleaseDelays();
  // Until `count` HttpLogin calls have returned, or `limit`; false then.
  bool WaitForLoginsReturned(int count, std::chrono::milliseconds limit);

  bool SetNewHttpLoginServer(Text url) override;
  bool HttpLogin(Text userName, Text password, LoginResult& result) override;
  int32_t GetHttpCode() override;
  int32_t GetCurlCode() override;
  bool HttpLogout() override;
  bool GetLocalIP(Text url, Text& address) override;
  bool SetNewHttpContacterServer(Text url) override;
  bool CreateTCP(Text host, int16_t port) override;
  bool ConnectTCP() override;
  bool DisConnectTCP() override;
  int32_t GetLastTcpError() override;

 private:
  void Record(std::string call);
  void Sleep(std::unique_lock<std::mutex>& guard, std::chrono::milliseconds delay);

  std::mutex lock_;
  std::condition_variable released_;
  bool delaysReleased_ = false;
  std::map<Text, ScriptedLogin> logins_;
  std::optional<Text> localAddress_;
  std::chrono::milliseconds localAddressDelay_{0};
  Text loginServer_;
  int32_t httpCode_ = 0;
  int32_t curlCode_ = 0;
  int loginsReturned_ = 0;
  std::vector<std::string> calls_;
  std::map<std::pair<Text, int16_t>, ScriptedTcp> tcpNodes_;
  ScriptedTcp tcpNode_{false, false, 0};  // the node of the last CreateTCP
  int32_t lastTcpError_ = 0;
  std::function<void()> createTcpHook_;
};
