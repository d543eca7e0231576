#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

#include "probe/last_error.h"
#include "probe/resolve.h"

bool ResolveIPv4(const std::string& host, uint32_t& address) {
  in_addr parsed{};
  if (inet_pton(AF_INET, host.c_str(), &parsed) == 1) {
    address = parsed.s_addr;
    return true;
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* answer = nullptr;
  if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &answer) != 0 ||
      answer == nullptr) {
    SetThreadLastError(kHostNotFound);
    return false;
  }
  const sockaddr_in* first = reinterpret_cast<const sockaddr_in*>(answer->ai_addr);
  address = first->sin_addr.s_addr;
  freeaddrinfo(answer);
  return true;
}

std::string FormatIPv4(uint32_t address) {
  char text[INET_ADDRSTRLEN] = {};
  in_addr value{};
  value.s_addr = address;
  inet_ntop(AF_INET, &value, text, sizeof text);
  return text;
}
