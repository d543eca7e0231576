// Transfer codes of the service client. Both clients number them as libcurl numbers its results,
// so a code in a progress line means the same on Linux and on Windows.
#pragma once

#include <cstdint>

namespace transfer_code {
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kUnsupportedProtocol = 1;  // not http:// or https://
inline constexpr int32_t kFailedInit = 2;
inline constexpr int32_t kMalformedUrl = 3;
inline constexpr int32_t kHostNotResolved = 6;
inline constexpr int32_t kCouldNotConnect = 7;
inline constexpr int32_t kWeirdReply = 8;  // a 200 that is not a complete login record
inline constexpr int32_t kOutOfMemory = 27;
inline constexpr int32_t kTimedOut = 28;
inline constexpr int32_t kSecureConnectFailed = 35;
inline constexpr int32_t kNothingReceived = 52;  // closed before any answer
inline constexpr int32_t kSendFailed = 55;
inline constexpr int32_t kReceiveFailed = 56;
inline constexpr int32_t kTooLarge = 63;  // answer beyond kMaxResponseBytes
}  // namespace transfer_code
