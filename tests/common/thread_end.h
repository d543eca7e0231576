// Learning that a thread has ended, for a runner that must wait until a worker is done with the
// log.
#pragma once

#include <functional>

// Calls `notify` once the calling thread has ended, on another thread.
void NotifyWhenThisThreadEnds(std::function<void()> notify);
