#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "support/handle_posix.h"
#include "support/platform_files.h"

namespace platform {
namespace {

std::string Native(const Text& path) { return ToUtf8(path); }

}  // namespace

wchar_t PathSeparator() { return L'/'; }

Text ExecutablePath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return {};
  return FromUtf8(std::string_view(path, static_cast<size_t>(length)));
}

PathKind QueryPath(const Text& path) {
  struct stat st {};
  if (stat(Native(path).c_str(), &st) != 0) return PathKind::kMissing;
  return S_ISDIR(st.st_mode) ? PathKind::kDirectory : PathKind::kFile;
}

bool MakeDirectory(const Text& path) { return mkdir(Native(path).c_str(), 0777) == 0; }

bool FileSize(const Text& path, uint64_t& size) {
  struct stat st {};
  if (stat(Native(path).c_str(), &st) != 0) return false;
  size = static_cast<uint64_t>(st.st_size);
  return true;
}

bool RemoveFile(const Text& path) { return unlink(Native(path).c_str()) == 0; }

AppendResult AppendAndFlush(const Text& path, const std::string& header, const std::string& bytes) {
  bool created = true;
  Descriptor file(open(Native(path).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (!file.valid() && errno == EEXIST) {
    created = false;
    file = Descriptor(open(Native(path).c_str(), O_RDWR | O_CLOEXEC));
  }
  if (!file.valid()) return AppendResult::kFailed;
  // Shared with nobody, as on Windows.
  if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? AppendResult::kHeld : AppendResult::kFailed;
  }
  if (lseek(file.get(), 0, SEEK_END) < 0) return AppendResult::kFailed;
  const std::string all = created ? header + bytes : bytes;
  size_t done = 0;
  while (done < all.size()) {
    const ssize_t n = write(file.get(), all.data() + done, all.size() - done);
    if (n <= 0) return AppendResult::kFailed;
    done += static_cast<size_t>(n);
  }
  return fsync(file.get()) == 0 ? AppendResult::kWritten : AppendResult::kFailed;
}

bool CanCreateFileIn(const Text& folder) {
  const std::string probe =
      Native(folder) + "/NetLog.write-test-" + std::to_string(static_cast<unsigned>(getpid()));
  if (!Descriptor(open(probe.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)).valid()) return false;
  unlink(probe.c_str());
  return true;
}

bool CanWriteOrMissing(const Text& path) {
  const Descriptor file(open(Native(path).c_str(), O_WRONLY | O_CLOEXEC));
  return file.valid() || errno == ENOENT;
}

Text LocalDataFolder() {
  // An XDG base folder must be absolute; a relative one is ignored.
  const char* const data = std::getenv("XDG_DATA_HOME");
  if (data != nullptr && data[0] == '/') return FromUtf8(data);
  const char* const home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return FromUtf8(std::string(home) + "/.local/share");
}

}  // namespace platform
