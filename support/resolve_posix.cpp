#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cerrno>

#include "support/resolve.h"

int ResolveIPv4(const std::string& host, uint32_t& address) {
  in_addr parsed{};
  if (inet_pton(AF_INET, host.c_str(), &parsed) == 1) {
    address = parsed.s_addr;
    return 0;
  }
  if (host.empty()) return EAI_NONAME;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* answer = nullptr;
  const int code = getaddrinfo(host.c_str(), nullptr, &hints, &answer);
  if (code != 0) return code == EAI_SYSTEM && errno != 0 ? errno : code;
  address = reinterpret_cast<const sockaddr_in*>(answer->ai_addr)->sin_addr.s_addr;
  freeaddrinfo(answer);
  return 0;
}

// The resolver here takes UTF-8 names.
int ResolveIPv4(const Text& host, uint32_t& address) { return ResolveIPv4(ToUtf8(host), address); }
