// Codes of GetLastTcpError. They are the platform's own socket error numbers: errno values on
// Linux, Winsock (WSA) codes on Windows. A host that cannot be resolved gives the resolver's code:
// on Linux getaddrinfo's negative EAI_ value, on Windows the WSAHOST_NOT_FOUND family.
#pragma once

#include <cstdint>

namespace tcp_error {
#ifdef _WIN32
inline constexpr int32_t kNotCreated = 10038;         // WSAENOTSOCK: ConnectTCP with no CreateTCP
inline constexpr int32_t kTimedOut = 10060;           // WSAETIMEDOUT
inline constexpr int32_t kConnectionRefused = 10061;  // WSAECONNREFUSED
inline constexpr int32_t kHostNotFound = 11001;       // WSAHOST_NOT_FOUND
inline constexpr int32_t kHostTryAgain = 11002;       // WSATRY_AGAIN
#else
inline constexpr int32_t kNotCreated = 88;          // ENOTSOCK
inline constexpr int32_t kTimedOut = 110;           // ETIMEDOUT
inline constexpr int32_t kConnectionRefused = 111;  // ECONNREFUSED
inline constexpr int32_t kHostNotFound = -2;        // EAI_NONAME
inline constexpr int32_t kHostTryAgain = -3;        // EAI_AGAIN
#endif
}  // namespace tcp_error
