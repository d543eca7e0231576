// A library named like a system one and planted beside the program: loaded, it leaves NAME.loaded
// beside itself, and exports nothing the program could use.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[4096];
  const DWORD length = GetModuleFileNameW(module, path, 4000);
  if (length == 0 || length >= 4000) return TRUE;
  lstrcpyW(path + length, L".loaded");
  const HANDLE marker =
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
  return TRUE;
}
