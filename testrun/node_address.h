// Node addresses of the form host, colon, port, as the login result names its TCP nodes.
#pragma once

#include <cstdint>

#include "support/text.h"

struct NodeAddress {
  Text host;
  Text portText;
};

// Split at the last colon. A text without a colon serves whole as host and as port text.
NodeAddress SplitNodeAddress(const Text& address);

// The text read as a decimal number the way the C library's wcstol reads it with a 32-bit long:
// leading white space, an optional sign, then digits up to the first other character. No digits
// give 0; a value beyond the range of a 32-bit long gives its nearest end.
int32_t ReadDecimalLikeWcstol(const Text& text);

// What the service library's 16-bit port argument receives: the low 16 bits of that number.
int16_t PortArgument(const Text& portText);
