#include "probe/launcher.h"

Launcher::~Launcher() = default;

bool Launcher::AddNodeList(const TextList& urls, NodeType type) {
  if (urls.empty()) return false;
  nodeLists[type] = urls;
  return true;
}

bool Launcher::GetRtppResults(std::vector<NodeResult>& rtppResults) const {
  if (results.empty()) return false;
  rtppResults.clear();
  for (const NodeResult& record : results) {
    if (record.type == Rtpp) rtppResults.push_back(record);
  }
  return true;
}

Launcher& GetLauncher() {
  static Launcher* const launcher = new Launcher;
  return *launcher;
}
