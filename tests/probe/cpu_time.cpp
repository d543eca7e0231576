#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "tests/probe/cpu_time.h"

double VisibleProcessesCpuMs() {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator entries(ProcFolder(), error);
  if (error) return -1;
  double ticks = 0;
  bool any = false;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "stat");
    std::string line;
    if (!std::getline(in, line)) continue;
    // The command name may hold spaces; the fields after it are plain numbers.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
      if (index == 14) utime = std::stod(field);
      if (index == 15) {
        stime = std::stod(field);
        break;
      }
    }
    ticks += utime + stime;
    any = true;
  }
  return any ? ticks * 10.0 : -1;  // /proc counts in hundredths of a second
}
