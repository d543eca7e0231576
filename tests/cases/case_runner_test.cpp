// Every whole-run case of this folder, natively: the real service client against the simulator
// and the real echo against the ICMP test hosts, both started by scripts/netns-run.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/report_text.h"
#include "cases/case_file.h"
#include "probe/launcher.h"
#include "support/run_log.h"
#include "testrun/run_start.h"
#include "tests/cases/case_log_start.h"
#include "tests/common/headless_shell.h"
#include "tests/common/run_log_reader.h"
#include "tests/common/temp_folder.h"

namespace {

// The cases the build found, by name, separated by spaces.
std::vector<std::filesystem::path> CaseFiles() {
  std::vector<std::filesystem::path> files;
  std::istringstream names(QUORVEX_CASE_NAMES);
  std::string name;
  while (names >> name)
    files.push_back(std::filesystem::path(QUORVEX_CASES_DIR) / (name + ".case"));
  return files;
}

std::string TestName(const std::filesystem::path& file) {
  std::string name = file.stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

bool Running(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && std::string(value) == "1";
}

std::string Transcript(const TextList& lines) {
  std::string text;
  for (const Text& line : lines) text += "  | " + ToUtf8(line) + "\n";
  return text;
}

// "ADDRESS N" for each expected node, N its fastest answered echo in this run's surveys.
bool FastestEchoesMatch(const TextList& expected, const RunOutcome& outcome, std::string& why) {
  for (const Text& line : expected) {
    const Text address = line.substr(0, line.find(L' '));
    uint32_t fastest = UINT32_MAX;
    for (const std::vector<NodeResult>& survey : outcome.surveys)
      for (const NodeResult& node : survey)
        if (node.address == address && node.answered > 0) fastest = std::min(fastest, node.fastest);
    const Text actual =
        address + L" " +
        (fastest == UINT32_MAX ? Text(L"none") : ToText(static_cast<int32_t>(fastest)));
    if (!LineMatches(line, actual)) {
      why = "fastest echo: expected " + ToUtf8(line) + ", got " + ToUtf8(actual);
      return false;
    }
  }
  return true;
}

class WholeRunCase : public testing::Test {
 public:
  explicit WholeRunCase(std::filesystem::path file) : file_(std::move(file)) {}
  void TestBody() override;

 private:
  std::filesystem::path file_;
};

void WholeRunCase::TestBody() {
  ASSERT_TRUE(Running("QUORVEX_SIM_RUNNING") && Running("QUORVEX_ICMP_SIM_RUNNING"))
      << "the simulator and the ICMP responder run only under scripts/netns-run";
  CaseFile file;
  std::string error;
  ASSERT_TRUE(ReadCaseFile(file_, file, error)) << error;

  TempFolder temp;
  SetRunLogBaseDirectoryForTest(temp.text());
  CaseLogStart logStart(file, temp.path() / "log");
  ASSERT_TRUE(logStart.ready(error)) << error;
  const HeadlessShell shell = InstallHeadlessShell(FromUtf8(file.name), L"secret");
  RecordingProgressList* const list = shell.list;
  RecordingMainWindow* const window = shell.window;
  // Each case as in a program of its own: no node list of an earlier case is surveyed again.
  GetLauncher().nodeLists.clear();
  GetLauncher().results.clear();
  GetLauncher().callSettings.durationMs =
      file.callSampleMs != 0 ? file.callSampleMs : kCallDurationMs;
  window->SetLocalAddressText(kPreviousAddressLine);
  StartTestRunWorkers(window);
  ASSERT_TRUE(window->WaitForButtonEnabled(1, 150000)) << Transcript(list->Lines());
  const Text addressAtButton = window->LocalAddressText();
  // The client gives up on a hanging address service after its 10 s request limit.
  ASSERT_TRUE(window->WaitForLocalAddress(2, 30000));
  // The hold on the log lasts until the address thread's record has been written or dropped.
  ASSERT_TRUE(window->WaitForAddressThreadsEnded(1, 30000));
  logStart.Release();

  const TextList log = ReadRunLogMessages(CaseRunLogPath(file, temp.path() / "log"));
  const TextList lines = list->Lines();
  EXPECT_TRUE(ListMatches(file.list, lines, error)) << error << "\n" << Transcript(lines);
  EXPECT_TRUE(AddressLineMatches(file, window->LocalAddressText(), error)) << error;
  EXPECT_TRUE(AddressAtButtonMatches(file, addressAtButton, kPreviousAddressLine, error)) << error;
  EXPECT_TRUE(CaseLogMatches(file, lines, window->LocalAddressText(), log, error)) << error;
  EXPECT_TRUE(FastestEchoesMatch(file.fastestEchoes, RunOutcomeSnapshot(), error)) << error;
  const TextList summary = ReportSummary(RunOutcomeSnapshot());
  if (!file.summary.empty()) {
    EXPECT_TRUE(ListMatches(file.summary, summary, error)) << "summary: " << error << "\n"
                                                           << Transcript(summary);
  }
}

// A case that needs a simulator of its own runs only beside its own (scripts/netns-run --own), one
// through routers only on its bed (scripts/router-bed).
bool RunsHere(const std::filesystem::path& path) {
  CaseFile file;
  std::string error;
  if (!ReadCaseFile(path, file, error)) return true;
  if (file.routerBed != (std::getenv("QUORVEX_ROUTER_BED") != nullptr)) return false;
  if (!CaseOwnsService(file)) return true;
  const char* own = std::getenv("QUORVEX_SIM_ADDRESS_CASE");
  return own != nullptr && file.name == own;
}

// One test per file, named after it.
const bool registered = [] {
  for (const std::filesystem::path& file : CaseFiles()) {
    if (!RunsHere(file)) continue;
    testing::RegisterTest("WholeRunCase", TestName(file).c_str(), nullptr, nullptr, __FILE__,
                          __LINE__, [file]() -> testing::Test* { return new WholeRunCase(file); });
  }
  return true;
}();

}  // namespace
