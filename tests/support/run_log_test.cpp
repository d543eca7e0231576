#include "support/run_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/platform_files.h"
#include "support/platform_process.h"
#include "tests/common/file_hold.h"
#include "tests/common/run_log_reader.h"
#include "tests/common/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using LogFile = RunLogContent;
using namespace std::string_literals;

LogFile ParseLog(const fs::path& path) {
  EXPECT_EQ(ReadFileBytes(path).size() % 2, 0u) << "not whole UTF-16 code units";
  return ReadRunLog(path);
}

class RunLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = temp_.path() / "app";
    fs::create_directories(base_);
    SetRunLogBaseDirectoryForTest(FromUtf8(base_.string()));
    runLogEnabled = true;
  }
  void TearDown() override {
    SetRunLogBaseDirectoryForTest(Text());
    runLogEnabled = false;
  }
  fs::path LogPath() const { return base_ / "log" / "NetLog.log"; }
  void UseBase(const fs::path& base) {
    base_ = base;
    SetRunLogBaseDirectoryForTest(FromUtf8(base_.string()));
  }

  TempFolder temp_;
  fs::path base_;
};

TEST_F(RunLogTest, AFileHeldByAnotherWriterDropsTheLineAndTheNextWriteGoesOn) {
  WriteRunLog(L"first");
  {
    ExclusiveFileHold other(LogPath());
    ASSERT_TRUE(other.held());
    WriteRunLog(L"dropped");
  }
  WriteRunLog(L"after");
  EXPECT_EQ(ReadRunLogMessages(LogPath()), (TextList{L"first", L"after"}));
}

TEST_F(RunLogTest, AFolderThatCannotBeMadeSendsTheRunsLogToTheLocalDataFolder) {
  WriteFileBytes(base_ / "log", "a file where the folder should be");
  WriteRunLog(L"moved");
  fs::remove(base_ / "log");
  WriteRunLog(L"still there: decided once");
  EXPECT_FALSE(fs::exists(base_ / "log"));
  const fs::path fallback(RunLogFallbackFolder());
  EXPECT_EQ(fallback, base_ / "local-data" / "Quorvex" / "log");
  EXPECT_EQ(fs::path(PrepareRunLogFolder()), fallback) << "the folder to open is where it went";
  EXPECT_EQ(ReadRunLogMessages(fallback / "NetLog.log"),
            (TextList{L"moved", L"still there: decided once"}));
}

TEST_F(RunLogTest, NothingIsCreatedBeforeLoggingIsSwitchedOn) {
  runLogEnabled = false;
  WriteRunLog(L"early line");
  WriteRunLog(L"本机IP为：%s", L"127.0.0.1");
  EXPECT_FALSE(fs::exists(base_ / "log"));
}

TEST_F(RunLogTest, FirstRecordCreatesMissingFoldersTheFileAndTheByteOrderMark) {
  UseBase(temp_.path() / "a" / "b" / "c");
  WriteRunLog(L"开始登陆------------------------------------------------------------Begin");
  ASSERT_TRUE(fs::exists(LogPath()));
  const std::string bytes = ReadFileBytes(LogPath());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");

  const LogFile log = ParseLog(LogPath());
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(RunLogMessage(log.records[0]),
            "开始登陆------------------------------------------------------------Begin");
  const std::string ids = "<CTID:0x" + ToUtf8(ToLowerHex(platform::CurrentThreadId())) +
                          " CPID:0x" + ToUtf8(ToLowerHex(platform::CurrentProcessId())) + " TIME:";
  EXPECT_EQ(log.records[0].rfind(ids, 0), 0u) << log.records[0];
}

TEST_F(RunLogTest, TheFolderToOpenIsWhereRecordsGoAndIsMadeAlsoWhileLoggingIsOff) {
  runLogEnabled = false;
  UseBase(temp_.path() / "x" / "y");
  const Text folder = PrepareRunLogFolder();
  EXPECT_EQ(fs::path(folder), base_ / "log");
  EXPECT_TRUE(fs::is_directory(base_ / "log"));
  EXPECT_FALSE(fs::exists(LogPath())) << "no record is written";
  runLogEnabled = true;
  WriteRunLog(L"one");
  EXPECT_TRUE(fs::exists(fs::path(folder) / "NetLog.log"));
}

TEST_F(RunLogTest, LaterRecordsAppendWithoutAnotherMark) {
  WriteRunLog(L"one");
  WriteRunLog(L"two");
  const LogFile log = ParseLog(LogPath());
  EXPECT_TRUE(log.hasBom);
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(RunLogMessage(log.records[0]), "one");
  EXPECT_EQ(RunLogMessage(log.records[1]), "two");
}

TEST_F(RunLogTest, AnExistingFileGetsNoMarkWhetherEmptyOrNot) {
  fs::create_directories(base_ / "log");
  WriteFileBytes(LogPath(), "");
  WriteRunLog(L"x");
  EXPECT_FALSE(ParseLog(LogPath()).hasBom);
  EXPECT_EQ(ReadFileBytes(LogPath()).substr(0, 2), "<\0"s);

  WriteFileBytes(LogPath(), std::string("a\0", 2));
  WriteRunLog(L"y");
  const std::string bytes = ReadFileBytes(LogPath());
  EXPECT_EQ(bytes.substr(0, 4), std::string("a\0<\0", 4));
}

TEST_F(RunLogTest, AFileOfExactlyTheLimitIsKeptOneByteMoreIsBegunAgain) {
  fs::create_directories(base_ / "log");
  WriteFileBytes(LogPath(), std::string(kRunLogSizeLimit, 'a'));
  WriteRunLog(L"kept");
  EXPECT_GT(fs::file_size(LogPath()), kRunLogSizeLimit);
  EXPECT_EQ(ReadFileBytes(LogPath()).substr(0, 4), "aaaa");

  WriteFileBytes(LogPath(), std::string(kRunLogSizeLimit + 1, 'a'));
  WriteRunLog(L"fresh");
  const LogFile log = ParseLog(LogPath());
  EXPECT_TRUE(log.hasBom);
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(RunLogMessage(log.records[0]), "fresh");
}

TEST_F(RunLogTest, AnEmptyFormatWritesNothingButStillMakesTheFolderAndDeletesAnOversizedFile) {
  WriteRunLog(L"");
  EXPECT_TRUE(fs::is_directory(base_ / "log"));
  EXPECT_FALSE(fs::exists(LogPath()));

  WriteFileBytes(LogPath(), std::string(kRunLogSizeLimit + 1, 'a'));
  WriteRunLog(L"");
  EXPECT_FALSE(fs::exists(LogPath()));
}

TEST_F(RunLogTest, PercentSignsAreWrittenAsTheyAre) {
  WriteRunLog(L"http://h/%s%d%n%%/100%");
  WriteRunLog(L"本机IP为：%s", L"10%s%d");
  WriteRunLog(L"%d %s %% %s", L"A");
  const LogFile log = ParseLog(LogPath());
  ASSERT_EQ(log.records.size(), 3u);
  EXPECT_EQ(RunLogMessage(log.records[0]), "http://h/%s%d%n%%/100%");
  EXPECT_EQ(RunLogMessage(log.records[1]), "本机IP为：10%s%d");
  EXPECT_EQ(RunLogMessage(log.records[2]), "%d A % %s");
}

// The Windows formatting function leaves at most 1,024 characters with its terminating NUL: a
// message is cut to 1,023 UTF-16 code units, one fewer where the cut would split a pair.
TEST_F(RunLogTest, LongMessagesAreCutAt1023CodeUnitsWithoutSplittingAPair) {
  const Text pair = FromUtf8("\xF0\x9F\x98\x80");  // U+1F600, two code units
  struct Case {
    const char* name;
    Text format;
    std::optional<Text> argument;
    Text written;
  };
  const Case cases[] = {
      {"1,023 units stay", Text(1023, L'a'), {}, Text(1023, L'a')},
      {"1,024 units lose one", Text(1024, L'b'), {}, Text(1023, L'b')},
      {"1,025 units lose two", Text(1025, L'c'), {}, Text(1023, L'c')},
      {"far longer", Text(5000, L'x'), {}, Text(1023, L'x')},
      {"an argument makes 1,024", L"本机IP为：%s", Text(1018, L'9'),
       L"本机IP为：" + Text(1017, L'9')},
      {"a pair across the cut goes whole", Text(1022, L'y') + pair + L"tail", {}, Text(1022, L'y')},
      {"a pair ending at the cut stays",
       Text(1021, L'z') + pair + L"tail",
       {},
       Text(1021, L'z') + pair},
      {"a pair just past the cut goes", Text(1023, L'w') + pair, {}, Text(1023, L'w')},
  };
  for (const Case& c : cases) {
    if (c.argument) {
      WriteRunLog(c.format, *c.argument);
    } else {
      WriteRunLog(c.format);
    }
  }
  const LogFile log = ParseLog(LogPath());
  ASSERT_EQ(log.records.size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(RunLogMessage(log.records[i]), ToUtf8(cases[i].written)) << cases[i].name;
  }
}

TEST_F(RunLogTest, ConcurrentWritersNeverInterleaveARecord) {
  constexpr int kThreads = 6;
  constexpr int kRecords = 40;
  std::vector<std::thread> writers;
  for (int t = 0; t < kThreads; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < kRecords; ++i) {
        WriteRunLog(L"writer " + ToText(t) + L" record " + ToText(i) + L" " + Text(200, L'字'));
      }
    });
  }
  for (std::thread& w : writers) w.join();

  const LogFile log = ParseLog(LogPath());
  EXPECT_TRUE(log.hasBom);
  ASSERT_EQ(log.records.size(), static_cast<size_t>(kThreads * kRecords));
  std::vector<int> next(kThreads, 0);
  const std::regex kMessage(R"(^writer (\d+) record (\d+) ((?:字){200})$)");
  for (const std::string& record : log.records) {
    const std::optional<std::string> message = RunLogMessage(record);
    ASSERT_TRUE(message) << record;
    std::smatch match;
    ASSERT_TRUE(std::regex_match(*message, match, kMessage)) << *message;
    const int writer = std::stoi(match[1].str());
    EXPECT_EQ(std::stoi(match[2].str()), next[writer]++) << "records of one thread out of order";
  }
}

TEST(RunLogRecord, FieldsAreLowerCaseHexAndTheHourHasNoLeadingZero) {
  EXPECT_EQ(FormatTimeOfDay({9, 5, 7}), L"9:05:07");
  EXPECT_EQ(FormatTimeOfDay({14, 30, 0}), L"14:30:00");
  EXPECT_EQ(FormatTimeOfDay({0, 0, 0}), L"0:00:00");
  EXPECT_EQ(FormatRunLogRecord(6700, 0xABC, L"9:05:07", L"本机IP为：1.2.3.4"),
            u"<CTID:0x1a2c CPID:0xabc TIME:9:05:07> 本机IP为：1.2.3.4\r\n");
}

TEST(RunLogRecord, ControlCharactersCannotForgeOrBreakARecord) {
  const Text forged =
      L"127.0.0.1\r\n<CTID:0x1 CPID:0x1 TIME:0:00:00> Successed\t\x1b[0m\x7f\x85\u2028end";
  EXPECT_EQ(FormatRunLogRecord(1, 2, L"0:00:00", forged),
            u"<CTID:0x1 CPID:0x2 TIME:0:00:00> 127.0.0.1\uFFFD\uFFFD<CTID:0x1 CPID:0x1 "
            u"TIME:0:00:00> Successed\uFFFD\uFFFD[0m\uFFFD\uFFFD\uFFFDend\r\n");
}

TEST(RunLogRecord, ExpansionTakesOneArgumentAndNeverReadsItAsAFormat) {
  EXPECT_EQ(ExpandRunLogFormat(L"本机IP为：%s", L""), L"本机IP为：");
  EXPECT_EQ(ExpandRunLogFormat(L"%s|%s", L"%s"), L"%s|%s");
  EXPECT_EQ(ExpandRunLogFormat(L"100%", L"x"), L"100%");
}

TEST(CreateDirectoryPathTest, EmptyPathGivesZeroOtherwiseEveryMissingParentIsMade) {
  EXPECT_EQ(CreateDirectoryPath(Text()), 0);
  TempFolder temp;
  const fs::path deep = temp.path() / "x" / "y" / "z";
  EXPECT_EQ(CreateDirectoryPath(FromUtf8(deep.string()) + platform::PathSeparator()), 1);
  EXPECT_TRUE(fs::is_directory(deep));
  EXPECT_EQ(CreateDirectoryPath(FromUtf8(deep.string())), 1) << "an existing folder is fine";
}

TEST(GetModuleDirectoryTest, IsTheFolderOfThisExecutable) {
  const Text folder = GetModuleDirectory();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(fs::is_directory(fs::path(ToUtf8(folder))));
  EXPECT_NE(folder.back(), L'/');
  EXPECT_NE(folder.back(), L'\\');
}

// Only run-from-long-path runs it, in a copy of this program: the log must go beside the copy.
TEST(GetModuleDirectoryTest, DISABLED_CopyWritesItsRunLog) {
  runLogEnabled = true;
  WriteRunLog(L"beside the copy");
}

}  // namespace
