// The report's block for one traced path: its hops and what they mean.
#pragma once

#include "probe/node_result.h"
#include "support/text.h"
#include "testrun/run_outcome.h"

// "路径（到 ADDR）", then the hops and the conclusions, or that the trace is under way or could
// not run. `node` is the node's record in the call-quality block.
TextList PathLines(const PathRecord& path, const NodeResult& node);
