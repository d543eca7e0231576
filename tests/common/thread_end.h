// Calls `notify` once the calling thread has ended, or as it ends.
#pragma once

#include <functional>

void NotifyWhenThisThreadEnds(std::function<void()> notify);
