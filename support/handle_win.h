// Owners of the Windows handles that more than one file holds (support/handle.h).
#pragma once

#include <windows.h>

#include "support/handle.h"

// Files, snapshots and the like, whose "none" is INVALID_HANDLE_VALUE (and sometimes null).
struct FileHandleTraits {
  using Native = HANDLE;
  static Native Invalid() { return INVALID_HANDLE_VALUE; }
  static bool Valid(Native h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
  static void Close(Native h) { CloseHandle(h); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

using ModuleHandle = UniqueHandle<NullHandleTraits<HMODULE, FreeLibrary>>;

// A handle closed by a function loaded at run time (the ICMP library's), which it carries.
// Closing keeps the reason of an earlier failure.
struct LoadedHandleTraits {
  struct Native {
    HANDLE handle;
    BOOL(WINAPI* close)(HANDLE);
  };
  static Native Invalid() { return {INVALID_HANDLE_VALUE, nullptr}; }
  static bool Valid(Native h) { return h.handle != INVALID_HANDLE_VALUE && h.close != nullptr; }
  static void Close(Native h) {
    const DWORD reason = GetLastError();
    h.close(h.handle);
    SetLastError(reason);
  }
};
using LoadedHandle = UniqueHandle<LoadedHandleTraits>;
