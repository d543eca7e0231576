// The client-address service answers with the address as plain text.
#pragma once

#include <string_view>

#include "support/text.h"

// The body without leading and trailing spaces, tabs and line ends, read as UTF-8.
Text AddressFromReply(std::string_view body);
