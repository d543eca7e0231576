#include "sim/request_record.h"

void RequestRecord::Add(const std::string& server, const std::string& key) {
  std::lock_guard<std::mutex> guard(lock_);
  ++counts_[server][key];
}

int RequestRecord::Count(const std::string& server, const std::string& key) const {
  std::lock_guard<std::mutex> guard(lock_);
  const auto byServer = counts_.find(server);
  if (byServer == counts_.end()) return 0;
  const auto found = byServer->second.find(key);
  return found == byServer->second.end() ? 0 : found->second;
}
