// Node address splitting and the port parse on any node address the login record gives (input:
// UTF-8; its first 4 bytes are also read as a number to write and read back).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string_view>

#include "testrun/node_address.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// The C library's wcstol, as a 32-bit long would hold its value: beyond the range, the nearest
// end. (Here long has 64 bits; its own overflow lands beyond 32 bits on the same side.)
int32_t WcstolWith32BitLong(const Text& text) {
  const long value = std::wcstol(text.c_str(), nullptr, 10);
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void CheckNumber(const Text& text) {
  const int32_t number = ReadDecimalLikeWcstol(text);
  Check(number == WcstolWith32BitLong(text), "the text reads as wcstol reads it");
  const int64_t difference = int64_t{PortArgument(text)} - number;
  Check(difference % 65536 == 0, "the port argument is the number modulo 2^16");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text address = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const NodeAddress split = SplitNodeAddress(address);
  if (address.find(L':') == Text::npos) {
    Check(split.host == address && split.portText == address,
          "without a colon the address is host and port text");
  } else {
    Check(split.host + L":" + split.portText == address, "host and port rejoin to the address");
    Check(split.portText.find(L':') == Text::npos, "the split is at the last colon");
  }
  CheckNumber(address);
  CheckNumber(split.portText);

  if (size >= 4) {
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    Check(ReadDecimalLikeWcstol(ToText(value)) == value, "a number written reads back");
    Check(PortArgument(L" +" + ToText(value & 0xFFFF) + L"x") ==
              static_cast<int16_t>(static_cast<uint16_t>(value)),
          "a port written reads back as its 16 bits");
  }
  return 0;
}
