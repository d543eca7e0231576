#include <windows.h>

#include "probe/last_error.h"

uint32_t GetThreadLastError() { return GetLastError(); }
void SetThreadLastError(uint32_t value) { SetLastError(value); }
