// The dialog has gone, perhaps in the middle of a run.
#pragma once

#include <chrono>

// From the close to the end of the process, whatever a run was doing.
inline constexpr std::chrono::milliseconds kCloseBudget{2000};

// No network step starts from now on, the sessions the run opened are ended, the logins and
// logouts under way are waited for (a session they bring is ended at once), and the echoes under
// way are let finish; all at once, and back within kCloseBudget whatever the network does.
void CloseRun();
