// The transport over WinHTTP, part of Windows itself.
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>

#include "res/version.h"
#include "service/http_transport.h"
#include "service/transfer_codes.h"
#include "service/winhttp_errors.h"
#include "service/winhttp_library_win.h"
#include "support/handle.h"

static_assert(ERROR_WINHTTP_TIMEOUT == 12002 && ERROR_WINHTTP_INVALID_URL == 12005 &&
              ERROR_WINHTTP_UNRECOGNIZED_SCHEME == 12006 &&
              ERROR_WINHTTP_NAME_NOT_RESOLVED == 12007 && ERROR_WINHTTP_CANNOT_CONNECT == 12029 &&
              ERROR_WINHTTP_CONNECTION_ERROR == 12030 &&
              ERROR_WINHTTP_INVALID_SERVER_RESPONSE == 12152 &&
              ERROR_WINHTTP_SECURE_FAILURE == 12175 && ERROR_NOT_ENOUGH_MEMORY == 8);

namespace {

using Clock = std::chrono::steady_clock;

// A handle exists only once the library was loaded.
BOOL CloseInternetHandle(HINTERNET handle) { return WinHttp()->CloseHandle(handle); }
using InternetHandle = UniqueHandle<NullHandleTraits<HINTERNET, CloseInternetHandle>>;

// Milliseconds left before the deadline, at least 1 while any is left, 0 when none.
int LeftMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(std::max<long long>(left, 1));
}

HttpReply Failed(WinHttpStep step, int32_t status = 0) {
  HttpReply reply;
  reply.status = status;
  reply.transferCode = TransferCodeOfWinHttpError(GetLastError(), step);
  return reply;
}

HttpReply TimedOut(int32_t status = 0) {
  HttpReply reply;
  reply.status = status;
  reply.transferCode = transfer_code::kTimedOut;
  return reply;
}

// WinHTTP has no limit for a whole exchange, so each blocking step gets what is left of it. Sending
// looks the name up, connects and sends one after another, each within its own limit: those three
// share what is left, so that no step can take time another one was counting on.
bool SetTimeoutsLeft(HINTERNET request, Clock::time_point deadline, int connectMs,
                     bool sending = false) {
  const int left = LeftMs(deadline);
  if (left <= 0) return false;
  int connect = std::min(connectMs, left);
  int resolveOrSend = left;
  if (sending) {
    connect = std::min(connectMs, std::max(left / 2, 1));
    resolveOrSend = std::max((left - connect) / 2, 1);
  }
  if (!WinHttp()->SetTimeouts(request, resolveOrSend, connect, resolveOrSend, left)) return false;
  // Waiting for the head of the answer has a limit of its own.
  DWORD responseMs = static_cast<DWORD>(left);
  return WinHttp()->SetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs,
                              sizeof(responseMs));
}

}  // namespace

HttpReply SendHttpRequest(const HttpRequest& request, const HttpClientTimeouts& timeouts) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeouts.requestMs);
  if (!IsHttpUrl(request.url)) {
    HttpReply reply;
    reply.transferCode = transfer_code::kUnsupportedProtocol;
    return reply;
  }
  const WinHttpFunctions* const winhttp = WinHttp();
  if (winhttp == nullptr) return Failed(WinHttpStep::kSetUp);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwSchemeLength = static_cast<DWORD>(-1);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!winhttp->CrackUrl(request.url.c_str(), static_cast<DWORD>(request.url.size()), 0, &parts) ||
      parts.dwHostNameLength == 0) {
    HttpReply reply;
    reply.transferCode = transfer_code::kMalformedUrl;
    return reply;
  }
  const Text host(parts.lpszHostName, parts.dwHostNameLength);
  Text path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  InternetHandle session(winhttp->Open(L"Quorvex/" QUORVEX_VERSION_SHORT_TEXT,
                                       WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.valid()) return Failed(WinHttpStep::kSetUp);
  InternetHandle connection(winhttp->Connect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection.valid()) return Failed(WinHttpStep::kSetUp);
  const DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  InternetHandle exchange(winhttp->OpenRequest(connection.get(), request.post ? L"POST" : L"GET",
                                               path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                               WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!exchange.valid()) return Failed(WinHttpStep::kSetUp);
  DWORD disabled = WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES;
  winhttp->SetOption(exchange.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disabled, sizeof(disabled));

  Text headers;
  if (request.post) {
    headers = L"Content-Type: ";
    headers += FromUtf8(request.contentType);
    headers += L"\r\n";
  }
  if (!SetTimeoutsLeft(exchange.get(), deadline, timeouts.connectMs, true)) return TimedOut();
  void* body = request.post ? const_cast<char*>(request.body.data()) : WINHTTP_NO_REQUEST_DATA;
  const auto bodySize = static_cast<DWORD>(request.post ? request.body.size() : 0);
  if (!winhttp->SendRequest(exchange.get(),
                            headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            static_cast<DWORD>(headers.size()), body, bodySize, bodySize, 0)) {
    return Failed(WinHttpStep::kSend);
  }
  if (!SetTimeoutsLeft(exchange.get(), deadline, timeouts.connectMs)) return TimedOut();
  if (!winhttp->ReceiveResponse(exchange.get(), nullptr)) return Failed(WinHttpStep::kReceiveHead);

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!winhttp->QueryHeaders(exchange.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX)) {
    return Failed(WinHttpStep::kReceiveHead);
  }
  HttpReply reply;
  reply.status = static_cast<int32_t>(status);
  char buffer[16384];
  for (;;) {
    if (!SetTimeoutsLeft(exchange.get(), deadline, timeouts.connectMs))
      return TimedOut(reply.status);
    DWORD read = 0;
    if (!winhttp->ReadData(exchange.get(), buffer, sizeof(buffer), &read)) {
      return Failed(WinHttpStep::kReadBody, reply.status);
    }
    if (read == 0) break;
    if (reply.body.size() + read > kMaxResponseBytes) {
      reply.body.clear();
      reply.transferCode = transfer_code::kTooLarge;
      return reply;
    }
    reply.body.append(buffer, read);
  }
  return reply;
}
