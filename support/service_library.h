// The service library: HTTP login and logout, the address query and the TCP connection test.
// The program calls the eleven free functions below; behind them stands one process-wide
// implementation, installed at start (the real client) or by a test (a double).
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "support/login_result.h"
#include "support/text.h"

class ServiceLibrary {
 public:
  virtual ~ServiceLibrary() = default;

  virtual bool SetNewHttpLoginServer(Text url) = 0;
  virtual bool HttpLogin(Text userName, Text password, LoginResult& result) = 0;
  virtual int32_t GetHttpCode() = 0;
  virtual int32_t GetCurlCode() = 0;
  virtual bool HttpLogout() = 0;
  virtual bool GetLocalIP(Text url, Text& address) = 0;
  virtual bool SetNewHttpContacterServer(Text url) = 0;
  virtual bool CreateTCP(Text host, int16_t port) = 0;
  virtual bool ConnectTCP() = 0;
  virtual bool DisConnectTCP() = 0;
  virtual int32_t GetLastTcpError() = 0;

  // The program is closing: ends every session accepted so far, all at once, and waits until the
  // logins under way have ended, a session they bring being ended at once; every request within
  // kCloseLogoutLimit and nothing after `deadline`. A library without sessions of its own to
  // track simply logs out.
  virtual void EndSessionsOnClose(std::chrono::steady_clock::time_point /*deadline*/) {
    HttpLogout();
  }
};

// How long one logout may take when the program closes, or when a login the run had given up on
// brings a session after the run's logout.
inline constexpr std::chrono::milliseconds kCloseLogoutLimit{2000};

// Replaces the implementation; calls already inside the old one finish on it. Null uninstalls.
void InstallServiceLibrary(std::shared_ptr<ServiceLibrary> library);
std::shared_ptr<ServiceLibrary> InstalledServiceLibrary();

// With nothing installed every call fails and every code reads 0. Once the program is closing,
// the calls that would start a network step (a login, the address query, the TCP test) fail at
// once without one; only the logout still goes out.
bool SetNewHttpLoginServer(Text url);
bool HttpLogin(Text userName, Text password, LoginResult& result);
int32_t GetHttpCode();
int32_t GetCurlCode();
bool HttpLogout();
bool GetLocalIP(Text url, Text& address);
bool SetNewHttpContacterServer(Text url);
bool CreateTCP(Text host, int16_t port);
bool ConnectTCP();
bool DisConnectTCP();
int32_t GetLastTcpError();
void EndSessionsOnClose(std::chrono::steady_clock::time_point deadline);
