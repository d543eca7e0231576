// Stage banners of a test run.
#pragma once

#include "support/text.h"

// A stage banner: the stage's name, a run of hyphens, then "Begin" or "End".
Text Banner(const Text& name, int hyphens, const Text& edge);
