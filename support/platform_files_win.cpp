#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "support/handle_win.h"
#include "support/known_folder_win.h"
#include "support/long_path_win.h"
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
  const DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::kDirectory : PathKind::kFile;
}

bool MakeDirectory(const Text& path) {
  return CreateDirectoryW(LongPathForm(path, PathUse::kNewFolder).c_str(), nullptr) != 0;
}

bool FileSize(const Text& path, uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) return false;
  size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return true;
}

bool RemoveFile(const Text& path) { return DeleteFileW(LongPathForm(path).c_str()) != 0; }

bool CanCreateFileIn(const Text& folder) {
  const Text probe = folder + L"\\NetLog.write-test-" + ToLowerHex(GetCurrentProcessId());
  const FileHandle file(CreateFileW(LongPathForm(probe).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                    CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return file.valid();
}

bool CanWriteOrMissing(const Text& path) {
  const FileHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.valid()) return true;
  const DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_SHARING_VIOLATION;
}

Text LocalDataFolder() { return KnownFolderPath(FOLDERID_LocalAppData); }

AppendResult AppendAndFlush(const Text& path, const std::string& header, const std::string& bytes) {
  FileHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) {
    return GetLastError() == ERROR_SHARING_VIOLATION ? AppendResult::kHeld : AppendResult::kFailed;
  }
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, nullptr, FILE_END)) {
    return AppendResult::kFailed;
  }
  const std::string all = created ? header + bytes : bytes;
  DWORD written = 0;
  if (!WriteFile(file.get(), all.data(), static_cast<DWORD>(all.size()), &written, nullptr) ||
      written != all.size() || !FlushFileBuffers(file.get())) {
    return AppendResult::kFailed;
  }
  return AppendResult::kWritten;
}

}  // namespace platform
