#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "support/handle_win.h"
#include "support/known_folder_win.h"
#include "support/platform_files.h"

namespace platform {

wchar_t PathSeparator() { return L'\\'; }

Text ExecutablePath() {
  // A path that fills the buffer may have been cut: the buffer grows until the path fits, up to
  // more than the longest path the system allows (32,767 characters).
  constexpr size_t kLongestPath = 65536;
  for (Text path(1024, L'\0'); path.size() <= kLongestPath; path.resize(path.size() * 2)) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
  }
  return {};
}

PathKind QueryPath(const Text& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kDirectory : PathKind::kFile;
}

bool MakeDirectory(const Text& path) { return CreateDirectoryW(path.c_str(), nullptr) != 0; }

bool FileSize(const Text& path, uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool RemoveFile(const Text& path) { return DeleteFileW(path.c_str()) != 0; }

bool CanCreateFileIn(const Text& folder) {
  const Text probe = folder + L"\\NetLog.write-test";
  const FileHandle file(CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.valid();
}

Text LocalDataFolder() { return KnownFolderPath(FOLDERID_LocalAppData); }

bool AppendAndFlush(const Text& path, const std::string& bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  if (SetFilePointer(file.get(), 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
      GetLastError() != NO_ERROR) {
    return false;
  }
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return false;
  }
  return FlushFileBuffers(file.get()) != 0;
}

}  // namespace platform
