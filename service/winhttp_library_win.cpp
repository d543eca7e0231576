#include "service/winhttp_library_win.h"

#include "support/system_library_win.h"

namespace {

template <typename Function>
bool Take(HMODULE module, const char* name, Function& function) {
  // Through the generic function type, which converts to any other without a warning.
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return function != nullptr;
}

struct Loaded {
  const WinHttpFunctions* functions = nullptr;
  DWORD error = ERROR_SUCCESS;  // why it could not be loaded
};

const WinHttpFunctions* Load() {
  ModuleHandle module = LoadSystemLibrary(L"winhttp.dll");
  if (!module.valid()) return nullptr;
  static WinHttpFunctions functions;
  HMODULE const m = module.get();
  if (!Take(m, "WinHttpCrackUrl", functions.CrackUrl) || !Take(m, "WinHttpOpen", functions.Open) ||
      !Take(m, "WinHttpConnect", functions.Connect) ||
      !Take(m, "WinHttpOpenRequest", functions.OpenRequest) ||
      !Take(m, "WinHttpSetOption", functions.SetOption) ||
      !Take(m, "WinHttpSetTimeouts", functions.SetTimeouts) ||
      !Take(m, "WinHttpSendRequest", functions.SendRequest) ||
      !Take(m, "WinHttpReceiveResponse", functions.ReceiveResponse) ||
      !Take(m, "WinHttpQueryHeaders", functions.QueryHeaders) ||
      !Take(m, "WinHttpReadData", functions.ReadData) ||
      !Take(m, "WinHttpCloseHandle", functions.CloseHandle)) {
    // Freeing the library must not overwrite the reason.
    const DWORD error = GetLastError();
    module.reset();
    SetLastError(error);
    return nullptr;
  }
  // Never unloaded: sessions may still be closing on other threads at the end of the process.
  module.release();
  return &functions;
}

}  // namespace

const WinHttpFunctions* WinHttp() {
  static const Loaded loaded = [] {
    const WinHttpFunctions* const functions = Load();
    return Loaded{functions, functions != nullptr ? ERROR_SUCCESS : GetLastError()};
  }();
  // Each caller learns the load's own reason, which a later call would otherwise have lost.
  if (loaded.functions == nullptr) SetLastError(loaded.error);
  return loaded.functions;
}
