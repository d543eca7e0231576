// The platform's socket library. Windows has Winsock, which each user starts at the version it
// asks for and stops again; elsewhere sockets need no start and SocketLibrary only says so.
#pragma once

class SocketLibrary {
 public:
  SocketLibrary() = default;
  ~SocketLibrary() { Stop(); }
  SocketLibrary(const SocketLibrary&) = delete;
  SocketLibrary& operator=(const SocketLibrary&) = delete;

  // Starts the library asking for version major.minor. True when it started at exactly that
  // version; one that gives another version is stopped again at once.
  bool Start(int major, int minor);
  // Undoes a successful Start; does nothing otherwise.
  void Stop();

  bool started() const { return started_; }
  // Why the last Start failed, as the platform numbers it; 0 after a successful one.
  int error() const { return error_; }

 private:
  bool started_ = false;
  int error_ = 0;
};
