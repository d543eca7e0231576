// Ending the connection a request came on without answering it. The HTTP library offers no way to
// do that, so the socket is found by its two addresses and shut down; the library's own answer
// then goes nowhere and it closes the socket as usual.
#pragma once

#include <httplib.h>

// False when the socket was not found.
bool ShutDownRequestConnection(const httplib::Request& request);
