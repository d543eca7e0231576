#include "tests/common/temp_folder.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include "support/platform_process.h"

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  const std::string name = "quorvex-test-" + std::to_string(platform::CurrentProcessId()) + "-" +
                           std::to_string(counter++) + "-" + std::to_string(entropy());
  path_ = std::filesystem::temp_directory_path() / name;
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

Text TempFolder::text() const { return FromUtf8(path_.string()); }

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
