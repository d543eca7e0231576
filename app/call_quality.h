// The report's words for the verdict on each Rtpp node (probe/call_verdict.h).
#pragma once

#include <vector>

#include "probe/node_result.h"
#include "support/text.h"

// The heading, then one line per distinct node (by address), worst first, unresolved names last;
// empty without nodes.
TextList CallQualityLines(const std::vector<NodeResult>& rtpp);
