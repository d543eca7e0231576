// IPv4 addresses of host names, through the thread-safe resolver.
#pragma once

#include <cstdint>
#include <string>

#include "support/text.h"

// A dotted address is taken as it is; anything else is resolved and the first IPv4 address of
// the answer taken. `address` is in network byte order. 0 when found, otherwise the resolver's
// code: getaddrinfo's EAI_ value (errno for a failure of the system) on Linux, the Winsock code on
// Windows. An empty name is no host (EAI_NONAME, WSAHOST_NOT_FOUND). On Windows the socket library
// must be started (SocketLibrary). The narrow name is in the encoding WideToAnsi gives.
int ResolveIPv4(const std::string& host, uint32_t& address);

// The same for a wide name, which Windows resolves without narrowing it to the ANSI code page.
int ResolveIPv4(const Text& host, uint32_t& address);

// Dotted text of a network-order address.
std::string FormatIPv4(uint32_t address);
