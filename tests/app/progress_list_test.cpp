#include "shell/progress_list.h"

#include <gtest/gtest.h>

#include "tests/common/recording_shell.h"

namespace {

TEST(AppendProgressLineTest, InsertsAtTheEndThenSelectsTheLastLine) {
  ScopedRecordingList scoped;
  AppendProgressLine(L"开始登陆------------------------------------------------------------Begin");
  AppendProgressLine(L"");
  AppendProgressLine(
      L"多点HTTP节点登陆------------------------------------------------------------Begin");
  const std::vector<std::string> expected = {
      "insert:开始登陆------------------------------------------------------------Begin",
      "count",
      "select:0",
      "insert:",
      "count",
      "select:1",
      "insert:多点HTTP节点登陆------------------------------------------------------------Begin",
      "count",
      "select:2"};
  EXPECT_EQ(scoped.list().Calls(), expected);
  EXPECT_EQ(scoped.list().Lines().size(), 3u) << "a blank line is a real item";
}

TEST(AppendProgressLineTest, SelectionReturnsToTheNewestLineAfterTheUserMovedIt) {
  ScopedRecordingList scoped;
  AppendProgressLine(L"a");
  AppendProgressLine(L"b");
  scoped.list().SetCurSel(0);
  AppendProgressLine(L"c");
  EXPECT_EQ(scoped.list().Selection(), 2);
}

TEST(AppendProgressLineTest, WithoutAListNothingHappens) {
  ProgressList* const previous = g_pProgressList;
  g_pProgressList = nullptr;
  AppendProgressLine(L"nowhere");
  g_pProgressList = previous;
}

}  // namespace
