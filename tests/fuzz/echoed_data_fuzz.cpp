// The bounds the Windows echo checks before it reads the echoed data the ICMP library reports.
// Input: a flag byte, 8 bytes of offset from the reply buffer (only the low 16 as a signed offset
// unless the flag's low bit is set), the data size (2 bytes), then the reply buffer's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "probe/echo_reply.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr size_t kLead = 11;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kLead) return 0;
  uint64_t rawOffset;
  std::memcpy(&rawOffset, data + 1, sizeof rawOffset);
  uint16_t dataSize;
  std::memcpy(&dataSize, data + 9, sizeof dataSize);
  const int64_t offset = (data[0] & 1) != 0 ? static_cast<int64_t>(rawOffset)
                                            : static_cast<int16_t>(rawOffset & 0xFFFF);

  // The reply in a buffer of exactly its size, so that a read past its end is caught.
  const size_t replySize = size - kLead;
  const std::unique_ptr<unsigned char[]> reply(new unsigned char[replySize]);
  std::memcpy(reply.get(), data + kLead, replySize);
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(reply.get());
  const std::uintptr_t end = start + replySize;
  const std::uintptr_t address = start + static_cast<std::uintptr_t>(offset);

  const bool intact = EchoedDataIntact(reply.get(), replySize, address, dataSize);
  if (dataSize == 0) {
    Check(intact, "no echoed data passes");
    return 0;
  }
  // A heap buffer lies far below the top of the address space, so `end + dataSize` cannot wrap.
  const bool inside = address >= start && address <= end && address + dataSize <= end;
  bool allEchoByte = inside;
  for (size_t i = 0; allEchoByte && i < dataSize; ++i) {
    allEchoByte = reply[address - start + i] == 0x45;
  }
  Check(intact == allEchoByte, "data passes exactly when it lies inside and is all 0x45");
  return 0;
}
