// One HTTP exchange of the service client. Linux sends it with libcurl, Windows with WinHTTP;
// both report failures with the codes of service/transfer_codes.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "service/http_service_library.h"
#include "support/text.h"

// Answers beyond this are refused with transfer_code::kTooLarge.
inline constexpr size_t kMaxResponseBytes = 1024 * 1024;

struct HttpRequest {
  Text url;  // http:// or https://; others are refused without traffic
  bool post = false;
  std::string contentType;  // POST only
  std::string body;         // POST only
};

struct HttpReply {
  int32_t status = 0;        // status of the answer; 0 when no status line came
  int32_t transferCode = 0;  // transfer_code::kOk when the whole answer came
  std::string body;          // complete only with transfer_code::kOk
};

// Never redirects, never uses a proxy; done within timeouts.requestMs (connecting within
// timeouts.connectMs). Safe to call from several threads at once.
HttpReply SendHttpRequest(const HttpRequest& request, const HttpClientTimeouts& timeouts);

// The exchange the service client makes its requests through: SendHttpRequest, or a test's own.
using HttpSend = std::function<HttpReply(const HttpRequest&, const HttpClientTimeouts&)>;
std::shared_ptr<ServiceLibrary> CreateHttpServiceLibrary(HttpClientTimeouts timeouts,
                                                         HttpSend send);

// Whether the URL names a scheme the transports speak (case does not matter).
bool IsHttpUrl(const Text& url);
