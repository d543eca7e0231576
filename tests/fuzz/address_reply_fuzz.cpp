// The client-address service's answer, whatever its body holds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/address_reply.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::string_view kBlank = " \t\r\n";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool AllBlank(std::string_view bytes) {
  return bytes.find_first_not_of(kBlank) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const Text address = AddressFromReply(body);
  Check(address.empty() == AllBlank(body), "only a blank body gives no address");
  if (address.empty()) return 0;
  Check(!IsBlank(address.front()) && !IsBlank(address.back()), "no blank at either end");

  const std::string utf8 = ToUtf8(address);
  Check(AddressFromReply(utf8) == address, "an address read again stays as it is");
  if (ToUtf8(FromUtf8(body)) == body) {
    // Well-formed UTF-8: the body is the address between blanks.
    const size_t at = body.find(utf8);
    Check(at != std::string_view::npos && AllBlank(body.substr(0, at)) &&
              AllBlank(body.substr(at + utf8.size())),
          "the address is the body without its blanks");
  }
  return 0;
}
