#include "testrun/local_address.h"

#include <gtest/gtest.h>

#include "support/run_log.h"
#include "testrun/service_urls.h"
#include "tests/testrun/test_run_fixture.h"

namespace {

class LocalAddressTest : public TestRunFixture {};

TEST_F(LocalAddressTest, ShowsAndLogsTheAddressTheServiceReports) {
  runLogEnabled = true;
  library_->ScriptLocalAddress(L"127.0.0.1");
  LocalAddressThread(&window_);
  EXPECT_EQ(window_.LocalAddressText(), L"本机IP为：127.0.0.1");
  EXPECT_EQ(LogMessages(), TextList{L"本机IP为：127.0.0.1"});
  EXPECT_EQ(library_->Calls(),
            std::vector<std::string>{"GetLocalIP " + ToUtf8(ClientAddressUrl())});
  EXPECT_TRUE(ListLines().empty()) << "the address never goes to the list";
}

TEST_F(LocalAddressTest, AFailedQueryShowsThePrefixAlone) {
  runLogEnabled = true;
  library_->ScriptLocalAddress(std::nullopt);
  LocalAddressThread(&window_);
  EXPECT_EQ(window_.LocalAddressText(), L"本机IP为：");
  EXPECT_EQ(LogMessages(), TextList{L"本机IP为："});
}

TEST_F(LocalAddressTest, AnAddressWithPercentSignsIsNotReadAsAFormat) {
  runLogEnabled = true;
  library_->ScriptLocalAddress(L"%s%d%n");
  LocalAddressThread(nullptr);
  EXPECT_EQ(LogMessages(), TextList{L"本机IP为：%s%d%n"});
}

TEST_F(LocalAddressTest, BeforeLoggingIsOnTheLineMissesTheLog) {
  library_->ScriptLocalAddress(L"127.0.0.1");
  LocalAddressThread(&window_);
  EXPECT_EQ(window_.LocalAddressText(), L"本机IP为：127.0.0.1");
  EXPECT_FALSE(std::filesystem::exists(temp_.path() / "log"));
}

}  // namespace
