// A stand-in ICMP library with only two of the three entry points, which CPing must unload and
// pass over.
#include <windows.h>

extern "C" __declspec(dllexport) HANDLE WINAPI IcmpCreateFile() { return INVALID_HANDLE_VALUE; }

extern "C" __declspec(dllexport) DWORD WINAPI
    IcmpSendEcho(HANDLE, ULONG, LPVOID, WORD, LPVOID, LPVOID, DWORD, DWORD) {
  SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  return 0;
}
