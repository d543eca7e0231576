// How the report's header names a Windows version, from the numbers the system gives.
#pragma once

#include <cstdint>

#include "support/text.h"

// "Windows 10.0.19045"; from build 22000 on "Windows 10.0.22631 (Windows 11)", as Windows 11 still
// calls itself 10.0 and only its build numbers tell it apart.
Text WindowsVersionText(uint32_t major, uint32_t minor, uint32_t build);
