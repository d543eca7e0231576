#include <windows.h>

#include "support/secret_wipe.h"

void WipeMemory(void* data, size_t size) { SecureZeroMemory(data, size); }
