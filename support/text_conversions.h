// Narrow text around host-name resolution: the system's ANSI code page on Windows, UTF-8 elsewhere.
#pragma once

#include <string>

#include "support/text.h"

// Empty in gives empty out; a zero character ends the output.
std::string WideToAnsi(Text wide);
Text AnsiToWide(std::string ansi);
