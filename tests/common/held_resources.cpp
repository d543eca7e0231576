#include "tests/common/held_resources.h"

std::string DescribeProcessStats(const ProcessStats& stats) {
  return "threads " + std::to_string(stats.threads) + ", descriptors " +
         std::to_string(stats.descriptors) + ", private " + std::to_string(stats.privateKiB) +
         " KiB";
}
