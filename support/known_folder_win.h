// A folder of the user's profile by its known-folder id; empty when the system has none.
#pragma once

#include <shlobj.h>
#include <windows.h>

#include "support/text.h"

inline Text KnownFolderPath(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  const HRESULT found = SHGetKnownFolderPath(id, 0, nullptr, &path);
  Text folder = SUCCEEDED(found) && path != nullptr ? Text(path) : Text();
  CoTaskMemFree(path);
  return folder;
}
