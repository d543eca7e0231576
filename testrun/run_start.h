// The one place the test button starts a run from.
#pragma once

#include "shell/main_window.h"

// Starts the test run controller, then the local address query, each on a thread of its own that
// nobody waits for. Returns at once.
void StartTestRunWorkers(MainWindow* dialog);
