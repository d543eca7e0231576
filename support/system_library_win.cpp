#include "support/system_library_win.h"

#include <string>

namespace {

template <typename Function>
Function Kernel32Function(const char* name) {
  HMODULE const kernel32 = GetModuleHandleW(L"kernel32.dll");
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr));
}

// The LOAD_LIBRARY_SEARCH_* flags came with AddDllDirectory: Windows 8, and Windows 7 with its
// loader update (KB2533623). Without them LoadLibraryExW fails on the flag.
bool SearchFlagsSupported() {
  static const bool supported = Kernel32Function<void (*)()>("AddDllDirectory") != nullptr;
  return supported;
}

}  // namespace

void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefault =
      Kernel32Function<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  SetDllDirectoryW(L"");
}

ModuleHandle LoadSystemLibrary(const wchar_t* name) {
  if (SearchFlagsSupported()) {
    return ModuleHandle(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  }
  // By its full path, which no search can divert; with the altered search order its own
  // dependencies are looked for beside it, in System32, before the exe's folder.
  const UINT size = GetSystemDirectoryW(nullptr, 0);  // with its terminating null
  std::wstring path(size, L'\0');
  const UINT length = size != 0 ? GetSystemDirectoryW(path.data(), size) : 0;
  if (length == 0 || length >= size) return ModuleHandle();
  path.resize(length);
  path += L'\\';
  path += name;
  return ModuleHandle(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}
