#include "support/socket_library.h"

bool SocketLibrary::Start(int, int) {
  started_ = true;
  error_ = 0;
  return true;
}

void SocketLibrary::Stop() { started_ = false; }
