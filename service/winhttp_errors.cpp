#include "service/winhttp_errors.h"

#include "service/transfer_codes.h"

int32_t TransferCodeOfWinHttpError(uint32_t error, WinHttpStep step) {
  switch (error) {
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
      return transfer_code::kOutOfMemory;
    case 12002:  // ERROR_WINHTTP_TIMEOUT
      return transfer_code::kTimedOut;
    case 12005:  // ERROR_WINHTTP_INVALID_URL
      return transfer_code::kMalformedUrl;
    case 12006:  // ERROR_WINHTTP_UNRECOGNIZED_SCHEME
      return transfer_code::kUnsupportedProtocol;
    case 12007:  // ERROR_WINHTTP_NAME_NOT_RESOLVED
      return transfer_code::kHostNotResolved;
    case 12029:  // ERROR_WINHTTP_CANNOT_CONNECT
      return transfer_code::kCouldNotConnect;
    case 12175:  // ERROR_WINHTTP_SECURE_FAILURE
      return transfer_code::kSecureConnectFailed;
    case 12030:  // ERROR_WINHTTP_CONNECTION_ERROR: the peer closed or reset the connection
    case 12152:  // ERROR_WINHTTP_INVALID_SERVER_RESPONSE
      if (step == WinHttpStep::kReceiveHead) return transfer_code::kNothingReceived;
      break;
    default:
      break;
  }
  switch (step) {
    case WinHttpStep::kSetUp:
      return transfer_code::kFailedInit;
    case WinHttpStep::kSend:
      return transfer_code::kSendFailed;
    case WinHttpStep::kReceiveHead:
    case WinHttpStep::kReadBody:
      return transfer_code::kReceiveFailed;
  }
  return transfer_code::kReceiveFailed;
}
