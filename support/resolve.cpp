#include <cstring>

#include "support/resolve.h"

std::string FormatIPv4(uint32_t address) {
  // Network byte order: the first byte in memory is the first of the four numbers.
  unsigned char bytes[4];
  std::memcpy(bytes, &address, sizeof bytes);
  return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." +
         std::to_string(bytes[2]) + "." + std::to_string(bytes[3]);
}
