// The multi-node HTTP login stage: tries the listed login servers in order until one accepts.
#pragma once

#include <memory>

#include "support/text.h"

// The stage's thread procedure.
unsigned MultiNodeLoginThread();

// What one attempt shares with the stage that waits for it. An attempt the stage has given up on
// finds `abandoned` set and discards its result, so it never writes the catalogue late.
struct LoginAttempt;

// The attempt's thread procedure: one login at `url` with the credentials the stage handed over.
unsigned HttpLoginAttemptThread(std::shared_ptr<LoginAttempt> attempt);
