#include "support/long_path_win.h"

#include <gtest/gtest.h>

namespace {

// C:\aaa…\aaa… of `length` characters.
Text DrivePath(size_t length) {
  Text path = L"C:";
  while (path.size() < length) path += path.size() % 60 == 2 ? L'\\' : L'a';
  return path;
}

TEST(LongPathForm, AnAbsolutePathPastItsLimitTakesTheLongForm) {
  const Text long300 = DrivePath(300);
  const Text share = L"\\\\server\\share" + long300.substr(2);
  Text slashes = long300;
  for (wchar_t& c : slashes) c = c == L'\\' ? L'/' : c;
  const struct {
    Text path;
    PathUse use;
    Text expected;
  } rows[] = {
      {L"C:\\log\\NetLog.log", PathUse::kFile, L"C:\\log\\NetLog.log"},
      {long300, PathUse::kFile, L"\\\\?\\" + long300},
      {slashes, PathUse::kFile, L"\\\\?\\" + long300},
      {long300 + L"\\x\\..\\.\\NetLog.log", PathUse::kFile, L"\\\\?\\" + long300 + L"\\NetLog.log"},
      {share, PathUse::kFile, L"\\\\?\\UNC\\server\\share" + long300.substr(2)},
      {L"\\\\?\\" + long300, PathUse::kFile, L"\\\\?\\" + long300},
      {long300.substr(3), PathUse::kFile, long300.substr(3)},  // relative: left to the system
      {DrivePath(259), PathUse::kFile, DrivePath(259)},
      {DrivePath(260), PathUse::kFile, L"\\\\?\\" + DrivePath(260)},
      {DrivePath(247), PathUse::kNewFolder, DrivePath(247)},
      {DrivePath(248), PathUse::kNewFolder, L"\\\\?\\" + DrivePath(248)},
      {DrivePath(248), PathUse::kFile, DrivePath(248)},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LongPathForm(row.path, row.use), row.expected) << ToUtf8(row.path);
  }
}

}  // namespace
