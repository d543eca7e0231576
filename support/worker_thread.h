// Starting threads without letting a refusal escape as an exception.
#pragma once

#include <functional>
#include <thread>

// Starts fn on a thread that nobody joins; fn must own (or co-own) everything it touches.
// False when the platform refused to start it.
bool StartDetachedThread(std::function<void()> fn);

// Starts fn on a joinable thread. False, and `thread` untouched, when the platform refused.
bool StartThread(std::thread& thread, std::function<void()> fn);

// Makes the next `count` starts fail, as a platform out of threads would.
void FailNextThreadStartsForTest(int count);
