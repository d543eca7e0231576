// Where the running executable is and what it is called.
#pragma once

#include "support/text.h"

// Full path of the executable, however long.
Text ExecutablePath();
// Its file name without folder and extension ("Quorvex" for ...\Quorvex.exe).
Text ExecutableBaseName();
// The base name of any path: after the last \ or /, up to the last dot.
Text BaseNameOf(const Text& path);
