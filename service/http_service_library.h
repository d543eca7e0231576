// Our own client of the service: libcurl on Linux, WinHTTP on Windows, one wire protocol.
#pragma once

#include <memory>

#include "support/service_library.h"

struct HttpClientTimeouts {
  int connectMs = 5000;   // making the connection
  int requestMs = 10000;  // the whole request, below the login stage's wait for an attempt
};

std::shared_ptr<ServiceLibrary> CreateHttpServiceLibrary(HttpClientTimeouts timeouts = {});
