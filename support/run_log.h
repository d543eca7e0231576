// The run log: time-stamped UTF-16 records in log/NetLog.log beside the executable, or in
// Quorvex/log/NetLog.log in the user's local data folder where no file can be made beside it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "support/platform_process.h"
#include "support/text.h"

// Off until the first test run switches it on; never switched off again.
extern std::atomic<bool> runLogEnabled;

// Held for the whole of one write; created on first use, exactly once, never destroyed.
std::mutex& runLogLock();

// Appends one finished line as it is: a percent sign in it is written unchanged.
void WriteRunLog(const Text& line);

// Appends one record made from a format in which "%s" stands for the argument and "%%" for a
// percent sign. The argument is inserted as text and never read as a format itself.
void WriteRunLog(const Text& format, const Text& argument);

// The folder the run log goes to, created with its parents when missing, as a write would; the
// first call of the program's run decides between beside the executable and the fallback. Empty
// when neither can be had, in which case no record is written at all; `tried` (when given) then
// names the folder that could not be made, if there was one.
Text PrepareRunLogFolder(Text* tried = nullptr);

// Quorvex/log in the user's local data folder (under the tests' base folder while one is set);
// empty when there is none.
Text RunLogFallbackFolder();

// The executable's folder without a trailing separator, however long its path; empty when it
// cannot be read.
Text GetModuleDirectory();

// Creates the folder and every missing parent. 0 for an empty path, else 1.
int CreateDirectoryPath(Text path);

// Tests put the log folder elsewhere than beside the executable, and the fallback under it; an
// empty text restores both. The folder is decided anew.
void SetRunLogBaseDirectoryForTest(const Text& directory);

inline constexpr uint64_t kRunLogSizeLimit = 524288;
inline constexpr size_t kRunLogMessageLimit = 1023;

// The record's pieces, exposed for their tests.
Text FormatTimeOfDay(const platform::TimeOfDay& time);
Text ExpandRunLogFormat(const Text& format, const Text& argument);
std::u16string FormatRunLogRecord(uint32_t threadId, uint32_t processId, const Text& timeOfDay,
                                  const Text& message);
