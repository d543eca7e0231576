// How often each key (a user name, a session text) reached each login server, so a test can see
// that its request arrived where it should, carrying what it should.
#pragma once

#include <map>
#include <mutex>
#include <string>

class RequestRecord {
 public:
  void Add(const std::string& server, const std::string& key);
  int Count(const std::string& server, const std::string& key) const;

 private:
  mutable std::mutex lock_;
  std::map<std::string, std::map<std::string, int>> counts_;
};
