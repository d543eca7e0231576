#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/resolve.h"

namespace {

// The first address getaddrinfo or GetAddrInfoW gives, asked for IPv4 only. Windows would resolve
// an empty name to this machine.
template <typename Answer, typename Char, typename GetInfo, typename FreeInfo>
int FirstIPv4(const std::basic_string<Char>& host, GetInfo getInfo, FreeInfo freeInfo,
              uint32_t& address) {
  if (host.empty()) return WSAHOST_NOT_FOUND;
  Answer hints{};
  hints.ai_family = AF_INET;
  Answer* answer = nullptr;
  const int code = getInfo(host.c_str(), nullptr, &hints, &answer);
  if (code != 0) return code;
  address = reinterpret_cast<const sockaddr_in*>(answer->ai_addr)->sin_addr.s_addr;
  freeInfo(answer);
  return 0;
}

}  // namespace

int ResolveIPv4(const std::string& host, uint32_t& address) {
  in_addr parsed{};
  if (inet_pton(AF_INET, host.c_str(), &parsed) == 1) {
    address = parsed.s_addr;
    return 0;
  }
  return FirstIPv4<addrinfo>(host, getaddrinfo, freeaddrinfo, address);
}

int ResolveIPv4(const Text& host, uint32_t& address) {
  return FirstIPv4<ADDRINFOW>(host, GetAddrInfoW, FreeAddrInfoW, address);
}
