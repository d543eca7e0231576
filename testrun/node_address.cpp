#include "testrun/node_address.h"

#include <limits>

NodeAddress SplitNodeAddress(const Text& address) {
  const size_t colon = address.rfind(L':');
  if (colon == Text::npos) return {address, address};
  return {address.substr(0, colon), address.substr(colon + 1)};
}

int32_t ReadDecimalLikeWcstol(const Text& text) {
  size_t i = 0;
  // The white space of the C locale.
  while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
    negative = text[i] == L'-';
    ++i;
  }
  // Accumulated as a magnitude in 64 bits and capped, so no digit count can overflow.
  constexpr int64_t kMaxMagnitude = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - L'0');
    if (magnitude > kMaxMagnitude) magnitude = kMaxMagnitude;
  }
  if (negative) return static_cast<int32_t>(-magnitude);  // -2^31 still fits
  return magnitude > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                         : static_cast<int32_t>(magnitude);
}

int16_t PortArgument(const Text& portText) {
  const uint32_t value = static_cast<uint32_t>(ReadDecimalLikeWcstol(portText));
  return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFFu));
}
