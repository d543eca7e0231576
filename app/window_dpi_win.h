// The DPI a window is drawn at, which per-monitor awareness lets differ from the system's.
#pragma once

#include <windows.h>

#include "support/handle.h"

using IconHandle = UniqueHandle<NullHandleTraits<HICON, DestroyIcon>>;

// The DPI of the primary monitor at logon, which system metrics and LoadIconW follow.
UINT SystemDpi();

// The window's own DPI where the system knows one (Windows 10 1607 on), else the system's.
UINT WindowDpi(HWND window);

// A square icon of the resource, `side` pixels at 96 DPI, scaled to `dpi`.
IconHandle LoadIconForDpi(HINSTANCE instance, UINT id, int side, UINT dpi);
