// The multi-node HTTP login stage: tries the listed login servers in order until one accepts.
#pragma once

#include <memory>

#include "shell/main_window.h"
#include "support/text.h"

// The stage's thread procedure; the argument is handed on by the controller and not used.
unsigned MultiNodeLoginThread(MainWindow* dialog);

// What one attempt shares with the stage that waits for it. An attempt the stage has given up on
// finds `abandoned` set and discards its result, so it never writes the catalogue late.
struct LoginAttempt;

// The attempt's thread procedure: one login at `url` with the credentials the stage handed over.
unsigned HttpLoginAttemptThread(std::shared_ptr<LoginAttempt> attempt);
