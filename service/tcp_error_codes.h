// Codes of GetLastTcpError. They are the platform's own socket error numbers: errno values on
// Linux, Winsock (WSA) codes on Windows. A host that cannot be resolved gives the resolver's code:
// on Linux getaddrinfo's negative EAI_ value, on Windows the WSAHOST_NOT_FOUND family. Each
// platform's values are in tcp_error_codes_win.cpp and tcp_error_codes_posix.cpp.
#pragma once

#include <cstdint>

namespace tcp_error {
extern const int32_t kNotCreated;  // ConnectTCP with no CreateTCP
extern const int32_t kTimedOut, kConnectionRefused, kHostNotFound, kHostTryAgain;
}  // namespace tcp_error
