// How the WinHTTP client turns WinHTTP's error numbers into the transfer codes of
// service/transfer_codes.h. Plain numbers, so it is tested on every platform.
#pragma once

#include <cstdint>

// The step of one exchange in which WinHTTP failed.
enum class WinHttpStep {
  kSetUp,        // opening the session, connection and request
  kSend,         // connecting and sending the request
  kReceiveHead,  // waiting for the status line and headers
  kReadBody,     // reading the body
};

int32_t TransferCodeOfWinHttpError(uint32_t error, WinHttpStep step);
