// The machine's address as the service sees it, shown at the top of the dialog.
#pragma once

#include "shell/main_window.h"

// Thread procedure; returns 0.
unsigned LocalAddressThread(MainWindow* dialog);
