// Kinds of server node and their display names.
#pragma once

#include <cstdint>

#include "support/text.h"

enum NodeType : int32_t { Http = 0, Tcp = 1, Rtpp = 2, Commbook = 3, Sip = 4 };

// "Http", "Tcp", "Rtpp", "Commbook", "Sip"; any other value (negative ones too) "Unknown".
Text NodeTypeName(int32_t type);
