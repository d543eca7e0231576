// The user has closed the dialog: from then on the program starts no network step and writes
// nothing more of the abandoned run, while it ends what it left open on the service.
#pragma once

// Set once, by the entry point when the dialog has gone; never cleared.
void BeginProgramClose();
bool ProgramClosing();
