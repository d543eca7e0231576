// Attaching to an existing TUN device (no packet information in front of each packet).
#pragma once

#include <string>

// The device's descriptor, or -1 with the reason in `error`.
int OpenTunDevice(const std::string& name, std::string& error);
