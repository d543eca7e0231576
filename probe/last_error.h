// The calling thread's last-error value, as the echo probe leaves it after a failure. On Windows
// it is the system's own (GetLastError); elsewhere a value of this thread with the same numbers.
#pragma once

#include <cstdint>

uint32_t GetThreadLastError();
void SetThreadLastError(uint32_t value);

// The last-error value a failed resolution leaves: the resolver's own code on Windows (see
// support/resolve.h), kHostNotFound elsewhere.
uint32_t LastErrorOfResolver(int code);

// The values the probe sets itself, numbered as Windows numbers them.
inline constexpr uint32_t kErrorOutOfMemory = 14;          // ERROR_OUTOFMEMORY
inline constexpr uint32_t kErrorUnexpectedNetError = 59;   // ERROR_UNEXP_NET_ERR
inline constexpr uint32_t kErrorCallNotImplemented = 120;  // ERROR_CALL_NOT_IMPLEMENTED
inline constexpr uint32_t kHostNotFound = 11001;           // WSAHOST_NOT_FOUND
inline constexpr uint32_t kEchoTimedOut = 11010;           // IP_REQ_TIMED_OUT
