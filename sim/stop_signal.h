// The simulator's one stop flag: set when it is told to end, so that waiting handlers give up.
#pragma once

void RequestStop();
bool StopRequested();

// Sleeps up to `seconds`; false when a stop cut it short.
bool SleepUnlessStopped(double seconds);
