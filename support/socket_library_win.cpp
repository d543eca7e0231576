#include <winsock2.h>

#include "support/socket_library.h"

bool SocketLibrary::Start(int major, int minor) {
  Stop();
  WSADATA data{};
  error_ = WSAStartup(MAKEWORD(major, minor), &data);
  if (error_ != 0) return false;
  if (LOBYTE(data.wVersion) != major || HIBYTE(data.wVersion) != minor) {
    WSACleanup();
    error_ = WSAVERNOTSUPPORTED;
    return false;
  }
  started_ = true;
  return true;
}

void SocketLibrary::Stop() {
  if (started_) WSACleanup();
  started_ = false;
}
