// Which ICMP library the Windows echo takes.
#include <windows.h>

#include <gtest/gtest.h>

#include "probe/last_error.h"
#include "probe/ping.h"
#include "support/run_log.h"
#include "tests/probe/icmp_test_bed.h"

namespace {

constexpr wchar_t kPartial[] = L"quorvex_partial_icmp.dll";

TEST(IcmpLibraryTest, LibraryWithoutAllThreeEntryPointsIsUnloadedAndTheNextTaken) {
  REQUIRE_ICMP_TEST_BED();
  ASSERT_NE(LoadLibraryW(kPartial), nullptr) << "the stand-in library is built beside the test";
  FreeLibrary(GetModuleHandleW(kPartial));
  ASSERT_EQ(GetModuleHandleW(kPartial), nullptr);

  // By its path: a bare name is looked for in System32 alone.
  CPing ping(GetModuleDirectory() + L"\\" + kPartial, L"ICMP.DLL");
  EXPECT_EQ(GetModuleHandleW(kPartial), nullptr) << "still loaded";
  ASSERT_TRUE(ping.loaded());
  EchoResult result;
  EXPECT_TRUE(ping.Ping(result, L"127.0.0.1", 500)) << "last error " << GetThreadLastError();
}

TEST(IcmpLibraryTest, OnlyTheSecondLibraryPresentServesTheEcho) {
  REQUIRE_ICMP_TEST_BED();
  CPing ping(L"quorvex-missing.dll", L"ICMP.DLL");
  ASSERT_TRUE(ping.loaded());
  EchoResult result;
  EXPECT_TRUE(ping.Ping(result, L"127.0.0.1", 500)) << "last error " << GetThreadLastError();
}

TEST(IcmpLibraryTest, NeitherLibraryLeavesAnEmptyProbe) {
  CPing ping(kPartial, L"quorvex-missing.dll");
  EXPECT_FALSE(ping.loaded());
  EchoResult result;
  EXPECT_FALSE(ping.Ping(result, L"127.0.0.1", 100));
  EXPECT_EQ(GetThreadLastError(), kErrorCallNotImplemented);
}

}  // namespace
