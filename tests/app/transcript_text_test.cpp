#include "shell/transcript_text.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/report_text.h"

namespace {

TEST(TranscriptTextTest, HeaderNamesTheProgramTheRunStartWithItsUtcOffsetAndTheSystem) {
  EXPECT_EQ(TranscriptHeader(platform::DateTime{2024, 1, 5, 3, 4, 9, 480}, L"Windows 6.1.7601"),
            L"Quorvex 1.0.0.1 2024-01-05 03:04:09 UTC+08:00 Windows 6.1.7601");
  EXPECT_EQ(TranscriptHeader(platform::DateTime{2031, 12, 31, 23, 59, 58, -210}, L""),
            L"Quorvex 1.0.0.1 2031-12-31 23:59:58 UTC-03:30")
      << "an unknown system adds nothing";
  EXPECT_EQ(TranscriptHeader(std::nullopt, L"Linux 6.1.0"), L"Quorvex 1.0.0.1 Linux 6.1.0")
      << "no run has started";
  EXPECT_EQ(ReportFileName({2024, 1, 5, 3, 4, 9}), L"Quorvex-20240105-030409.txt");
}

TEST(TranscriptTextTest, EveryLineEndsWithCrLfAndBlankLinesStay) {
  const TextList lines = {L"开始登陆------Begin", L"", L"Failed ---> 100% %s", L""};
  EXPECT_EQ(TranscriptText(L"Quorvex 1.0.0.1", L"本机IP为：198.18.0.7", lines),
            L"Quorvex 1.0.0.1\r\n本机IP为：198.18.0.7\r\n开始登陆------Begin\r\n\r\n"
            L"Failed ---> 100% %s\r\n\r\n");
  EXPECT_EQ(TranscriptText(L"h", L"", {}), L"h\r\n\r\n") << "an empty address line is kept";
}

// Run by tests/app/run-in-zone, which sets the zone and the offset `date` gives for it.
TEST(TranscriptZoneTest, DISABLED_HeaderCarriesTheZonesOffset) {
  const char* expected = std::getenv("QUORVEX_EXPECTED_UTC_OFFSET");
  ASSERT_NE(expected, nullptr);
  const Text header = TranscriptHeader(platform::LocalDateTime(), L"");
  EXPECT_EQ(header.substr(header.size() - 9), FromUtf8(expected)) << ToUtf8(header);
}

}  // namespace
