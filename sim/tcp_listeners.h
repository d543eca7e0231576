// The TCP nodes of the connection test, all on one host:
//   port 5060  accepts every connection and closes it at once, and so do port 50000 (a port that
//              does not fit a signed 16-bit number) and port 127 (the number at the start of an
//              address without a port, such as 127.0.0.6);
//   port 5061  nothing listens, so a connection is refused;
//   port 5062  listens but never accepts, its queue kept full, so a connection attempt times out.
#pragma once

#include <string>
#include <thread>
#include <vector>

#include "support/handle_posix.h"

class TcpListeners {
 public:
  ~TcpListeners();

  // Binds every listener; false with a message.
  bool Start(const std::string& host, std::string& error);
  // Stops the simulator (see sim/stop_signal.h) and ends the accepting thread; the sockets close
  // with the object.
  void Stop();

 private:
  std::vector<Descriptor> accepting_;
  Descriptor silent_;
  Descriptor silentFill_;  // the connection that fills the silent listener's queue
  std::thread acceptor_;
};

inline constexpr int kTcpAcceptPort = 5060;
inline constexpr int kTcpAcceptHighPort = 50000;
inline constexpr int kTcpAcceptLowPort = 127;
inline constexpr int kTcpRefusePort = 5061;
inline constexpr int kTcpSilentPort = 5062;
