#include <windows.h>

#include "probe/last_error.h"

uint32_t GetThreadLastError() { return GetLastError(); }
void SetThreadLastError(uint32_t value) { SetLastError(value); }

uint32_t LastErrorOfResolver(int code) { return static_cast<uint32_t>(code); }
