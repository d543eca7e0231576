#include <winsock2.h>

#include "service/tcp_error_codes.h"

const int32_t tcp_error::kNotCreated = WSAENOTSOCK;
const int32_t tcp_error::kTimedOut = WSAETIMEDOUT;
const int32_t tcp_error::kConnectionRefused = WSAECONNREFUSED;
const int32_t tcp_error::kHostNotFound = WSAHOST_NOT_FOUND;
const int32_t tcp_error::kHostTryAgain = WSATRY_AGAIN;
