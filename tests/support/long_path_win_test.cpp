#include "support/long_path_win.h"

#include <gtest/gtest.h>

TEST(LongPathForm, AnAbsolutePathPastItsLimitTakesTheLongForm) {
  const auto drive = [](size_t length) { return L"C:\\" + Text(length - 3, L'a'); };
  const Text share = L"\\\\server\\share\\" + Text(285, L'a');  // 300 characters
  const struct {
    Text path;
    PathUse use;
    Text expected;
  } rows[] = {
      {L"C:/" + Text(290, L'a') + L"/x/.././b", PathUse::kFile, L"\\\\?\\" + drive(293) + L"\\b"},
      {share, PathUse::kFile, L"\\\\?\\UNC\\" + share.substr(2)},
      {drive(300).substr(3), PathUse::kFile, drive(300).substr(3)},  // relative: left as it is
      {drive(259), PathUse::kFile, drive(259)},
      {drive(260), PathUse::kFile, L"\\\\?\\" + drive(260)},
      {drive(247), PathUse::kNewFolder, drive(247)},
      {drive(248), PathUse::kNewFolder, L"\\\\?\\" + drive(248)},
  };
  for (const auto& row : rows) EXPECT_EQ(LongPathForm(row.path, row.use), row.expected);
}
