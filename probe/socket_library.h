// The platform's socket library around one survey: Winsock at version 1.1 on Windows; elsewhere
// sockets need no start.
#pragma once

// True when the library is started and reports version 1.1; another version is shut down again
// at once and gives false.
bool StartSocketLibrary();
// Undoes one successful StartSocketLibrary.
void StopSocketLibrary();
