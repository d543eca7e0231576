#include "tests/service/sim_test_support.h"

#include <cstdlib>
#include <string>
#include <thread>

Text DeadUrl() { return L"http://127.0.0.2:1/"; }

void SimTest::SetUp() {
  const char* running = std::getenv("QUORVEX_SIM_RUNNING");
  if (running == nullptr || std::string(running) != "1") {
    FAIL() << "the service simulator is not running: run the tests under scripts/netns-run, "
              "for example: scripts/netns-run -- ctest --preset linux";
  }
}

int SimCount(const Text& counterUrl) {
  const auto library = CreateHttpServiceLibrary(kPromptTimeouts);
  Text count;
  if (!library->GetLocalIP(counterUrl, count)) return -1;
  return std::stoi(ToUtf8(count));
}

bool WaitForSimCount(const Text& counterUrl, int count, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (SimCount(counterUrl) < count) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}
