// The host of a node URL, for resolving and pinging it.
#pragma once

#include "support/text.h"

// A text without a scheme gets "http://" in front; then the host (name or dotted address) is
// taken out, without user, port or path. A text that doesn't split as a URL comes back whole,
// with the "http://" it may have got.
Text HostFromUrl(Text url);
