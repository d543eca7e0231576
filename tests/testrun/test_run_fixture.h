// A run against a scripted service library, with the list, window and log recorded.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "catalogue/global_data_collection.h"
#include "tests/common/recording_shell.h"
#include "tests/common/run_log_reader.h"
#include "tests/common/scripted_service_library.h"
#include "tests/common/temp_folder.h"

class TestRunFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  TextList ListLines() { return list_.list().Lines(); }
  TextList LogMessages() { return ReadRunLogMessages(temp_.path() / "log" / "NetLog.log"); }

  std::shared_ptr<ScriptedServiceLibrary> library_ = std::make_shared<ScriptedServiceLibrary>();
  RecordingMainWindow window_;
  ScopedRecordingList list_;
  TempFolder temp_;
};

Text StageBegin();
Text StageEnd();
Text RunBegin();
Text RunEnd();
Text StageSuccess(const Text& url);
Text StageFailure(const Text& url, int32_t httpCode, int32_t curlCode);
