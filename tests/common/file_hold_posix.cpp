#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "tests/common/file_hold.h"

// A lock of its own open file, which the run log's non-blocking lock cannot take.
ExclusiveFileHold::ExclusiveFileHold(const std::filesystem::path& path) {
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  handle_ = fd;
  held_ = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
}

ExclusiveFileHold::~ExclusiveFileHold() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}
