// Will voice work over the media relays? The report's verdict on each Rtpp node, from the delay,
// jitter and loss its echoes showed.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "probe/node_result.h"
#include "support/text.h"

// The mean absolute difference of consecutive answered echoes' round trips, in whole ms; none
// with fewer than two answered.
std::optional<uint32_t> Jitter(const NodeResult& node);

// The heading, then one line per distinct node (by address), worst first; empty without nodes.
TextList CallQualityLines(const std::vector<NodeResult>& rtpp);
