// The owner of a POSIX file descriptor: files and sockets alike (support/handle.h).
#pragma once

#include <unistd.h>

#include "support/handle.h"

struct DescriptorTraits {
  using Native = int;
  static Native Invalid() { return -1; }
  static bool Valid(Native fd) { return fd >= 0; }
  static void Close(Native fd) { close(fd); }
};
using Descriptor = UniqueHandle<DescriptorTraits>;
