// After the run's last survey: the path to every Rtpp node of this run whose verdict is not good,
// traced once per node, for the report. Nothing of it appears in the list or the run log.
#pragma once

#include "probe/path_trace.h"

// Returns once every trace has ended, at most the traces' limit and one echo's wait later; at once
// when no node needs a trace or the program is closing.
void TraceRunPaths(const TraceSettings& settings);
