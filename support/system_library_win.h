// Libraries taken from System32 only, never from the executable's folder, where whatever a
// browser downloaded beside it may lie.
#pragma once

#include <windows.h>

#include "support/handle_win.h"

// At the very start, before anything loads a library (Quorvex.exe: from a TLS callback,
// app/process_start_win.cpp): from then on every load searches System32 alone where the loader
// allows it, and at least no longer the current folder where it does not.
void RestrictLibrarySearch();

// The library of that file name from System32; invalid when it cannot be loaded (GetLastError
// says why).
ModuleHandle LoadSystemLibrary(const wchar_t* name);
