#include "support/worker_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>

namespace {

TEST(WorkerThread, ARefusedStartIsReportedAndRunsNothing) {
  FailNextThreadStartsForTest(1);
  bool ran = false;
  std::thread thread;
  EXPECT_FALSE(StartThread(thread, [&ran] { ran = true; }));
  EXPECT_FALSE(thread.joinable());
  EXPECT_FALSE(ran);

  ASSERT_TRUE(StartThread(thread, [&ran] { ran = true; }));
  thread.join();
  EXPECT_TRUE(ran);
}

TEST(WorkerThread, ADetachedThreadRunsOnStateItOwns) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  ASSERT_TRUE(StartDetachedThread([done] { done->store(true); }));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done->load() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_TRUE(done->load());
}

}  // namespace
