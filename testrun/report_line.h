// How a worker reports one step: to the progress list first, then the same text to the run log.
#pragma once

#include "support/text.h"

void ReportLine(const Text& line);

// A stage banner: the stage's name, a run of hyphens, then "Begin" or "End".
Text Banner(const Text& name, int hyphens, const Text& edge);
