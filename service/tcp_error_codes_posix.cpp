#include <netdb.h>

#include <cerrno>

#include "service/tcp_error_codes.h"

const int32_t tcp_error::kNotCreated = ENOTSOCK;
const int32_t tcp_error::kTimedOut = ETIMEDOUT;
const int32_t tcp_error::kConnectionRefused = ECONNREFUSED;
const int32_t tcp_error::kHostNotFound = EAI_NONAME;
const int32_t tcp_error::kHostTryAgain = EAI_AGAIN;
