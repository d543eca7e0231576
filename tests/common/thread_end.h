// Calls `notify` on another thread once the calling thread has ended.
#pragma once

#include <functional>

void NotifyWhenThisThreadEnds(std::function<void()> notify);
