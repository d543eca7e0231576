// The transport over libcurl.
#include <curl/curl.h>

#include <mutex>

#include "res/version.h"
#include "service/http_transport.h"
#include "service/transfer_codes.h"
#include "support/handle.h"

static_assert(transfer_code::kUnsupportedProtocol == CURLE_UNSUPPORTED_PROTOCOL &&
              transfer_code::kFailedInit == CURLE_FAILED_INIT &&
              transfer_code::kMalformedUrl == CURLE_URL_MALFORMAT &&
              transfer_code::kHostNotResolved == CURLE_COULDNT_RESOLVE_HOST &&
              transfer_code::kCouldNotConnect == CURLE_COULDNT_CONNECT &&
              transfer_code::kWeirdReply == CURLE_WEIRD_SERVER_REPLY &&
              transfer_code::kOutOfMemory == CURLE_OUT_OF_MEMORY &&
              transfer_code::kTimedOut == CURLE_OPERATION_TIMEDOUT &&
              transfer_code::kSecureConnectFailed == CURLE_SSL_CONNECT_ERROR &&
              transfer_code::kNothingReceived == CURLE_GOT_NOTHING &&
              transfer_code::kSendFailed == CURLE_SEND_ERROR &&
              transfer_code::kReceiveFailed == CURLE_RECV_ERROR &&
              transfer_code::kTooLarge == CURLE_FILESIZE_EXCEEDED);

namespace {

using EasyHandle = UniqueHandle<NullHandleTraits<CURL*, curl_easy_cleanup>>;
using HeaderList = UniqueHandle<NullHandleTraits<curl_slist*, curl_slist_free_all>>;

struct Sink {
  std::string body;
  bool tooLarge = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const size_t bytes = size * count;
  if (sink->body.size() + bytes > kMaxResponseBytes) {
    sink->tooLarge = true;
    return 0;  // ends the transfer
  }
  sink->body.append(data, bytes);
  return bytes;
}

// libcurl's global set-up is not thread-safe; it runs once before the first transfer.
bool CurlReady() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
  return ready;
}

}  // namespace

HttpReply SendHttpRequest(const HttpRequest& request, const HttpClientTimeouts& timeouts) {
  HttpReply reply;
  if (!IsHttpUrl(request.url)) {
    reply.transferCode = transfer_code::kUnsupportedProtocol;
    return reply;
  }
  const EasyHandle easy(CurlReady() ? curl_easy_init() : nullptr);
  if (!easy.valid()) {
    reply.transferCode = transfer_code::kFailedInit;
    return reply;
  }
  CURL* const h = easy.get();
  Sink sink;
  HeaderList headers;
  curl_easy_setopt(h, CURLOPT_URL, ToUtf8(request.url).c_str());
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_PROXY, "");
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_USERAGENT, "Quorvex/" QUORVEX_VERSION_SHORT_TEXT);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connectMs));
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.requestMs));
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxResponseBytes));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
  if (request.post) {
    const std::string contentType = "Content-Type: " + request.contentType;
    headers.reset(curl_slist_append(nullptr, contentType.c_str()));
    // No "Expect: 100-continue" round trip for longer bodies.
    if (headers.valid()) curl_slist_append(headers.get(), "Expect:");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.c_str());
  }

  const CURLcode code = curl_easy_perform(h);
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  reply.status = static_cast<int32_t>(status);
  if (sink.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    reply.transferCode = transfer_code::kTooLarge;
  } else {
    reply.transferCode = static_cast<int32_t>(code);
  }
  if (reply.transferCode == transfer_code::kOk) reply.body = std::move(sink.body);
  return reply;
}
