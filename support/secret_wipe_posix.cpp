#include <string.h>

#include "support/secret_wipe.h"

void WipeMemory(void* data, size_t size) { explicit_bzero(data, size); }
