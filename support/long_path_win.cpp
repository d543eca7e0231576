#include "support/long_path_win.h"

#include <windows.h>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

Text LongPathForm(const Text& path, PathUse use) {
  const size_t limit = use == PathUse::kNewFolder ? 247 : 259;
  if (path.size() <= limit) return path;
  const bool drive =
      path.size() >= 3 &&
      ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
      path[1] == L':' && IsSeparator(path[2]);
  // Not \\?\ nor \\.\, which are the system's own forms already.
  const bool share = IsSeparator(path[0]) && IsSeparator(path[1]) &&
                     !((path[2] == L'?' || path[2] == L'.') && IsSeparator(path[3]));
  if (!drive && !share) return path;
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  Text full(size, L'\0');
  const DWORD length = size != 0 ? GetFullPathNameW(path.c_str(), size, full.data(), nullptr) : 0;
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return share ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}
