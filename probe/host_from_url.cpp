#include "probe/host_from_url.h"

namespace {

constexpr wchar_t kDefaultScheme[] = L"http://";

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Length of a leading "scheme://", or 0 when the text has none.
size_t SchemeLength(const Text& text) {
  if (text.empty() || !IsAsciiLetter(text[0])) return 0;
  size_t i = 1;
  while (i < text.size() && (IsAsciiLetter(text[i]) || IsAsciiDigit(text[i]) || text[i] == L'+' ||
                             text[i] == L'-' || text[i] == L'.')) {
    ++i;
  }
  return text.compare(i, 3, L"://") == 0 ? i + 3 : 0;
}

bool ValidPort(const Text& port) {
  if (port.size() > 5) return false;
  unsigned value = 0;
  for (wchar_t c : port) {
    if (!IsAsciiDigit(c)) return false;
    value = value * 10 + static_cast<unsigned>(c - L'0');
  }
  return value <= 65535;
}

bool ValidHost(const Text& host) {
  if (host.empty()) return false;
  for (wchar_t c : host) {
    if (c <= L' ' || c == 0x7f || c == L'\\' || c == L'<' || c == L'>' || c == L'"' || c == L'[' ||
        c == L']' || c == L'{' || c == L'}' || c == L'|' || c == L'^' || c == L'`') {
      return false;
    }
  }
  return true;
}

}  // namespace

Text HostFromUrl(Text url) {
  size_t start = SchemeLength(url);
  if (start == 0) {
    url.insert(0, kDefaultScheme);
    start = std::size(kDefaultScheme) - 1;
  }
  const size_t end = url.find_first_of(L"/?#", start);
  Text authority = url.substr(start, end == Text::npos ? Text::npos : end - start);
  const size_t at = authority.rfind(L'@');
  if (at != Text::npos) authority.erase(0, at + 1);

  Text host = authority;
  const size_t colon = authority.rfind(L':');
  if (colon != Text::npos) {
    if (!ValidPort(authority.substr(colon + 1))) return url;
    host = authority.substr(0, colon);
  }
  return ValidHost(host) ? host : url;
}
