#include <winsock2.h>

#include "probe/socket_library.h"

bool StartSocketLibrary() {
  WSADATA data{};
  if (WSAStartup(0x0101, &data) != 0) return false;
  if (LOBYTE(data.wVersion) == 1 && HIBYTE(data.wVersion) == 1) return true;
  WSACleanup();
  return false;
}

void StopSocketLibrary() { WSACleanup(); }
