// What the service client remembers between calls: the servers named to it, the codes of the last
// login attempt and the session to log out of. Shared by every thread that calls the client.
//
// Login attempts can overlap (the login stage gives up waiting on a slow one and starts the next).
// Only the attempt started last may leave its codes behind: the codes read 0 while it runs, and an
// earlier attempt that ends late leaves them alone. Every accepted login leaves its session, a late
// one too, so that the next logout ends them all.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "support/text.h"

class ServiceCallState {
 public:
  struct Attempt {
    Text serverUrl;  // the login server when the attempt began
    uint64_t ticket = 0;
  };
  struct Session {
    Text serverUrl;
    Text loginText;
  };

  void SetLoginServer(Text url);
  void SetContacterServer(Text url);
  Text ContacterServer() const;

  Attempt BeginLogin();
  // `loginText` is given when the server accepted the login.
  void EndLogin(const Attempt& attempt, int32_t httpCode, int32_t transferCode,
                const Text* loginText);
  int32_t HttpCode() const;
  int32_t TransferCode() const;

  // The sessions of every login accepted since the last call, in the order they were accepted.
  std::vector<Session> TakeSessions();

 private:
  mutable std::mutex lock_;
  Text loginServerUrl_;
  Text contacterServerUrl_;
  uint64_t lastTicket_ = 0;
  int32_t httpCode_ = 0;
  int32_t transferCode_ = 0;
  std::vector<Session> sessions_;
};
