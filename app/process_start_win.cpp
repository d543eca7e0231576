// The first code of Quorvex.exe to run, before the C runtime's own start and its constructors:
// the stack protector's guard, then the DLL search restricted to System32. Nothing that can load
// a library runs before that, so none comes from the exe's folder (Downloads, say).
#include <windows.h>

#include <cstdint>
#include <type_traits>

#include "support/system_library_win.h"

// The stack protector's guard and its two failure calls, defined here so that the linker takes
// no member of libssp that defines them: libssp's sets the guard from a constructor that calls
// CryptAcquireContextA, which loads the crypto provider's libraries by name, before wWinMain.
// libssp's checked copies of _FORTIFY_SOURCE stay; they call only __chk_fail.
extern "C" {
// Any value until the TLS callback below sets the real one, before any guarded frame exists.
uintptr_t __stack_chk_guard = static_cast<uintptr_t>(0x2f8a4c61d3e5b7a9ULL);

// A broken guard or an overrun copy: the stack cannot be trusted, so no handler, no unwinding
// and no library's detach code runs. The code is what MSVC's programs end with on this fault.
[[noreturn]] void __stack_chk_fail() {
  TerminateProcess(GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
  __builtin_trap();
}

[[noreturn]] void __chk_fail() { __stack_chk_fail(); }
}

namespace {

// What MSVC's runtime seeds its guard with: the time, the counter, the process and thread, and
// (with the image and the stack placed at random) addresses. No library is loaded for it. Not
// itself guarded, since the guard changes while it runs.
__attribute__((no_stack_protector)) void SetStackGuard() {
  FILETIME time;
  GetSystemTimeAsFileTime(&time);
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  const auto address = [](const void* p) {
    return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p));
  };
  uint64_t seed = (static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime) ^
                  static_cast<uint64_t>(counter.QuadPart) ^ GetTickCount64() ^
                  static_cast<uint64_t>(GetCurrentProcessId()) << 32 ^ GetCurrentThreadId() ^
                  address(&time) << 16 ^ address(&__stack_chk_guard) << 8;
  seed ^= seed >> 32;  // the high half counts on a 32-bit guard too
  __stack_chk_guard = static_cast<uintptr_t>(seed);
}

__attribute__((no_stack_protector)) void NTAPI OnProcessStart(PVOID, DWORD reason, PVOID) {
  if (reason != DLL_PROCESS_ATTACH) return;
  SetStackGuard();
  RestrictLibrarySearch();
}

// The loader's callback type is __stdcall on i686, where a plain function would corrupt its
// stack; the x86_64 one has a single convention.
static_assert(std::is_same_v<decltype(&OnProcessStart), PIMAGE_TLS_CALLBACK>);

}  // namespace

// mingw-w64's TLS directory (_tls_used) calls the callbacks of the sections .CRT$XLA to .CRT$XLZ
// in name order; .CRT$XLC holds the runtime's own, so .CRT$XLB comes first. The reference keeps
// the directory in the image even where nothing else would need it.
extern "C" const IMAGE_TLS_DIRECTORY _tls_used;
extern "C" __attribute__((used, section(".CRT$XLB")))
const PIMAGE_TLS_CALLBACK quorvexProcessStart = OnProcessStart;
extern "C" __attribute__((used)) const void* const quorvexTlsDirectory = &_tls_used;
