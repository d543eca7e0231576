#include "app/module_path_win.h"

#include <windows.h>

Text ExecutablePath() {
  Text path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return Text();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    // Truncated: the path is longer than the buffer.
    path.resize(path.size() * 2);
  }
}

Text BaseNameOf(const Text& path) {
  const size_t slash = path.find_last_of(L"\\/");
  Text name = slash == Text::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != Text::npos && dot > 0) name.resize(dot);
  return name;
}

Text ExecutableBaseName() { return BaseNameOf(ExecutablePath()); }
