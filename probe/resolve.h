// IPv4 addresses of host names, through the thread-safe resolver.
#pragma once

#include <cstdint>
#include <string>

// A dotted address is taken as it is; anything else is resolved and the first IPv4 address of
// the answer taken. `address` is in network byte order. On failure the thread's last-error value
// says why (the resolver's code on Windows, 11001 elsewhere). On Windows the socket library must
// be started (StartSocketLibrary, or a CPing that holds an ICMP library).
bool ResolveIPv4(const std::string& host, uint32_t& address);

// Dotted text of a network-order address.
std::string FormatIPv4(uint32_t address);
