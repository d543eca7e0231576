// Holds a file the way another program would that shares it with nobody, for as long as the
// object lives.
#pragma once

#include <cstdint>
#include <filesystem>

class ExclusiveFileHold {
 public:
  explicit ExclusiveFileHold(const std::filesystem::path& path);
  ~ExclusiveFileHold();
  ExclusiveFileHold(const ExclusiveFileHold&) = delete;
  ExclusiveFileHold& operator=(const ExclusiveFileHold&) = delete;

  bool held() const { return held_; }

 private:
  intptr_t handle_ = -1;
  bool held_ = false;
};
