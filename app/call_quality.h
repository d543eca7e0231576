// The report's words for the verdict on each Rtpp node (probe/call_verdict.h).
#pragma once

#include <vector>

#include "probe/call_verdict.h"
#include "support/text.h"

// The heading, then one line per node in RateNodes' order; empty without nodes.
TextList CallQualityLines(const std::vector<RatedNode>& rated);
