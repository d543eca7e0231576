// The host of a node URL, whatever text the login record gives (input: UTF-8).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "probe/host_from_url.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

// What never belongs to a host: it ends the authority, or URLs do not allow it there.
bool HostCharacter(wchar_t c) {
  return c > L' ' && c != 0x7f && Text(L"/?#@\\<>\"[]{}|^`").find(c) == Text::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Text url = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
  const Text host = HostFromUrl(url);
  if (host == url || host == L"http://" + url) return 0;

  Check(!host.empty(), "a host is never empty");
  Check(url.find(host) != Text::npos, "a host is part of the URL");
  for (wchar_t c : host) Check(HostCharacter(c), "a host holds only host characters");
  if (host.find(L':') == Text::npos) {
    Check(HostFromUrl(L"https://user@" + host + L":8080/path?q#f") == host,
          "the host of a full URL built around a host is that host");
    Check(HostFromUrl(host) == host, "a host alone is its own host");
  }
  return 0;
}
