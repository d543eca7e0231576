#include <dirent.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <fstream>
#include <string>

#include "tests/common/held_resources.h"

namespace {

long CountEntries(const std::string& folder) {
  DIR* const dir = opendir(folder.c_str());
  if (dir == nullptr) return -1;
  long count = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(dir);
  return count;
}

}  // namespace

void ReturnFreeMemory() {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

bool ReadProcessStats(uint32_t processId, ProcessStats& stats) {
  const std::string root =
      "/proc/" + (processId == 0 ? std::string("self") : std::to_string(processId));
  stats.threads = CountEntries(root + "/task");
  // The listing's own descriptor is among those counted; it is there every time.
  stats.descriptors = CountEntries(root + "/fd");
  stats.privateKiB = -1;
  std::ifstream status(root + "/status");
  std::string key;
  long value = 0;
  // Anonymous resident memory: what the process allocated for itself.
  while (status >> key) {
    if (key == "RssAnon:" && status >> value) {
      stats.privateKiB = value;
      break;
    }
    status.ignore(1 << 16, '\n');
  }
  return stats.threads >= 0 && stats.descriptors >= 0 && stats.privateKiB >= 0;
}
