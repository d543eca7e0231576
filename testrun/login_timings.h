// How long the login stage waits for one attempt before it abandons it.
#pragma once

#include <chrono>

inline constexpr std::chrono::milliseconds kLoginAttemptTimeout{11000};

std::chrono::milliseconds LoginAttemptTimeout();
// Tests shorten the wait; the program keeps kLoginAttemptTimeout.
void SetLoginAttemptTimeoutForTest(std::chrono::milliseconds timeout);
