// What the service client remembers between calls: the login server named to it, the codes of the
// last login attempt and the session to log out of. Shared by every thread that calls the client.
//
// Login attempts can overlap (the login stage gives up waiting on a slow one and starts the next).
// Only the attempt started last may leave its codes behind: the codes read 0 while it runs, and an
// earlier attempt that ends late leaves them alone. Every accepted login leaves its session for the
// next logout to end; but a login accepted only after a logout that came later than its start (the
// run it belonged to has ended, or the program is closing) would leave its session open, so that
// one is handed back to be ended at once.
//
// Once the program is closing no login begins, and the close waits for the logins and the logouts
// under way, up to its deadline, which bounds every request made from then on.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "support/text.h"

class ServiceCallState {
 public:
  struct Attempt {
    Text serverUrl;  // the login server when the attempt began
    uint64_t ticket = 0;
    uint64_t logouts = 0;  // logouts taken before it began
  };
  struct Session {
    Text serverUrl;
    Text loginText;
  };

  void SetLoginServer(Text url);

  // Nothing once the program is closing: that login must not go out.
  std::optional<Attempt> BeginLogin();
  // `loginText` is given when the server accepted the login. A session that no later logout
  // will see comes back, for the caller to end at once; LoginEnded follows in any case.
  std::optional<Session> EndLogin(const Attempt& attempt, int32_t httpCode, int32_t transferCode,
                                  const Text* loginText);
  void LoginEnded();
  int32_t HttpCode() const;
  int32_t TransferCode() const;

  // The sessions of every login accepted since the last call, in the order they were accepted.
  // Each counts as a logout under way until LogoutEnded.
  std::vector<Session> TakeSessions();
  void LogoutEnded();

  // The program is closing: the sessions as TakeSessions gives them, and every login that ends
  // from now on hands its session back.
  std::vector<Session> BeginClose(std::chrono::steady_clock::time_point deadline);
  // The close's deadline, once the program is closing.
  std::optional<std::chrono::steady_clock::time_point> CloseDeadline() const;
  // Until no login and no logout is under way, or `deadline`; true when none is.
  bool WaitForCalls(std::chrono::steady_clock::time_point deadline);

 private:
  std::vector<Session> TakeSessionsLocked();

  mutable std::mutex lock_;
  Text loginServerUrl_;
  uint64_t lastTicket_ = 0;
  int32_t httpCode_ = 0;
  int32_t transferCode_ = 0;
  std::vector<Session> sessions_;
  uint64_t logouts_ = 0;
  std::optional<std::chrono::steady_clock::time_point> closeDeadline_;
  int loginsUnderWay_ = 0;
  size_t logoutsUnderWay_ = 0;
  std::condition_variable callEnded_;
};
