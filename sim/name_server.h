// A name server for the test namespace, on UDP 127.0.0.53:53. Names under hang.quorvex.test are
// never answered, so a resolver waits until its own time-out; every other name is answered "no
// such name" at once (the names that resolve are in sim/hosts, read before any name server).
#pragma once

#include <string>
#include <thread>

#include "support/handle_posix.h"

class NameServer {
 public:
  ~NameServer();

  // Binds the socket; false with a message.
  bool Start(const std::string& address, std::string& error);
  // Ends the answering thread; call after RequestStop (sim/stop_signal.h).
  void Stop();

 private:
  Descriptor socket_;
  std::thread answerer_;
};

inline constexpr const char* kNameServerAddress = "127.0.0.53";
inline constexpr const char* kHangingDomain = "hang.quorvex.test";

// The reply to one query, or empty when it gets none (a query for a hanging name, or no query).
std::string NameServerReply(const std::string& query);
