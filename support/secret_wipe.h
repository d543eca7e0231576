// Wiping a secret from memory before its buffer is freed or reused, in a way the compiler may not
// leave out as a dead store.
#pragma once

#include <cstddef>
#include <string>

#include "support/text.h"

void WipeMemory(void* data, size_t size);

// The whole buffer, the short-string one inside the object too, then empty; a moved-from string
// may still hold its characters there.
void WipeText(Text& text);
void WipeBytes(std::string& bytes);
