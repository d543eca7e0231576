// After the run's last survey: a call-like sample of every distinct resolved Rtpp node of this
// run, which the call quality is rated on. Nothing of it appears in the list or the run log.
#pragma once

#include "probe/call_sample.h"

// Returns once the sample has ended; at once when the run surveyed no resolved Rtpp node or the
// program is closing.
void SampleRunCalls(const CallSettings& settings);
