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
