#include "probe/last_error.h"

namespace {
thread_local uint32_t lastError = 0;
}

uint32_t GetThreadLastError() { return lastError; }
void SetThreadLastError(uint32_t value) { lastError = value; }

uint32_t LastErrorOfResolver(int) { return kHostNotFound; }
