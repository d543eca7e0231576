#include "service/http_transport.h"

namespace {

bool StartsWithNoCase(const Text& text, const wchar_t* prefix) {
  size_t i = 0;
  for (; prefix[i] != L'\0'; ++i) {
    if (i >= text.size()) return false;
    const wchar_t c = text[i] >= L'A' && text[i] <= L'Z' ? text[i] - L'A' + L'a' : text[i];
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsHttpUrl(const Text& url) {
  return StartsWithNoCase(url, L"http://") || StartsWithNoCase(url, L"https://");
}
