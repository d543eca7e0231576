#include <windows.h>

#include "tests/common/file_hold.h"

// Opened with no sharing, as the run log opens it itself.
ExclusiveFileHold::ExclusiveFileHold(const std::filesystem::path& path) {
  HANDLE const file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  handle_ = reinterpret_cast<intptr_t>(file);
  held_ = file != INVALID_HANDLE_VALUE;
}

ExclusiveFileHold::~ExclusiveFileHold() {
  if (held_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}
