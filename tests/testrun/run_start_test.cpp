#include "testrun/run_start.h"

#include <gtest/gtest.h>

#include "support/worker_thread.h"
#include "testrun/service_urls.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

class RunStartTest : public TestRunFixture {};

TEST_F(RunStartTest, StartsTheControllerAndTheAddressQueryThatBothReachTheWindow) {
  library_->ScriptLocalAddress(L"127.0.0.1");
  StartTestRunWorkers(&window_);
  ASSERT_TRUE(window_.WaitForButtonEnabled(1, 10000));
  ASSERT_TRUE(window_.WaitForLocalAddress(1, 10000));
  // Its record written, so that none lands in the next test's log.
  ASSERT_TRUE(window_.WaitForAddressThreadsEnded(1, 10000));
  EXPECT_EQ(window_.LocalAddressText(), L"本机IP为：127.0.0.1");
  EXPECT_EQ(ListLines().back(), L"网络测试结束");
}

TEST_F(RunStartTest, AControllerThatCannotStartGivesTheButtonBack) {
  library_->ScriptLocalAddress(L"127.0.0.1");
  FailNextThreadStartsForTest(1);
  StartTestRunWorkers(&window_);
  ASSERT_TRUE(window_.WaitForLocalAddress(1, 10000));
  ASSERT_TRUE(window_.WaitForAddressThreadsEnded(1, 10000));
  EXPECT_EQ(window_.ButtonEnables(), 1);
  EXPECT_TRUE(ListLines().empty());
}

}  // namespace
