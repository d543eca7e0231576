#include "testrun/run_outcome.h"

#include <algorithm>
#include <iterator>
#include <mutex>

#include "probe/node_type.h"

namespace {

// Written by the run's workers, read by the dialog's thread whenever the user copies.
struct OutcomeStore {
  std::mutex lock;
  RunOutcome outcome;
};

// Never freed, like the catalogue: a detached worker may record while the process ends.
OutcomeStore& Store() {
  static OutcomeStore* const store = new OutcomeStore;
  return *store;
}

}  // namespace

void ResetRunOutcome() {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome = RunOutcome();
}

void RecordAcceptedLogin(const Text& url, bool imServer) {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.acceptedLogins.push_back({url, imServer});
}

void RecordTcpTestStarted(const Text& node, int proxyIndex, int proxyCount) {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.tcpTests.push_back({node, proxyIndex, proxyCount, TcpTest::Result::kPending});
}

void RecordTcpTestResult(bool connected) {
  std::lock_guard<std::mutex> guard(Store().lock);
  std::vector<TcpTest>& tests = Store().outcome.tcpTests;
  if (tests.empty()) return;
  tests.back().result = connected ? TcpTest::Result::kConnected : TcpTest::Result::kFailed;
}

void RecordRtppNodes(const TextList& urls) {
  std::lock_guard<std::mutex> guard(Store().lock);
  TextList& nodes = Store().outcome.rtppNodes;
  nodes.insert(nodes.end(), urls.begin(), urls.end());
}

void RecordSurvey(const std::vector<NodeResult>& records) {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.surveys.push_back(records);
}

void RecordCallSampleStarted() {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.sample = RunOutcome::Sample::kRunning;
}

void RecordCallSample(const std::vector<NodeResult>& records) {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.calls = records;
  Store().outcome.sample = RunOutcome::Sample::kEnded;
}

void RecordPathTracesStarted(const TextList& addresses) {
  std::lock_guard<std::mutex> guard(Store().lock);
  for (const Text& address : addresses) Store().outcome.paths.push_back({address, {}});
}

void RecordPathTraces(const std::vector<PathTrace>& traces) {
  std::lock_guard<std::mutex> guard(Store().lock);
  std::vector<PathRecord>& paths = Store().outcome.paths;
  for (size_t i = 0; i < traces.size() && i < paths.size(); ++i) paths[i].trace = traces[i];
}

std::vector<NodeResult> RunRecords(const RunOutcome& outcome, int32_t type) {
  std::vector<NodeResult> records;
  for (const std::vector<NodeResult>& survey : outcome.surveys) {
    std::copy_if(survey.begin(), survey.end(), std::back_inserter(records),
                 [type](const NodeResult& record) { return record.type == type; });
  }
  return records;
}

std::vector<NodeResult> RunRtppRecords(const RunOutcome& outcome) {
  std::vector<NodeResult> records = RunRecords(outcome, Rtpp);
  std::erase_if(records, [&outcome](const NodeResult& record) {
    return std::find(outcome.rtppNodes.begin(), outcome.rtppNodes.end(), record.url) ==
           outcome.rtppNodes.end();
  });
  return records;
}

void RecordRunEnded() {
  std::lock_guard<std::mutex> guard(Store().lock);
  Store().outcome.ended = true;
}

RunOutcome RunOutcomeSnapshot() {
  std::lock_guard<std::mutex> guard(Store().lock);
  return Store().outcome;
}

std::vector<NodeResult> RunCallRecords(const RunOutcome& outcome) {
  std::vector<NodeResult> records = outcome.calls;
  for (const NodeResult& record : RunRtppRecords(outcome)) {
    const bool named = std::any_of(records.begin(), records.end(), [&](const NodeResult& seen) {
      return seen.address == record.address;
    });
    if (!record.resolved && !named) records.push_back(record);
  }
  return records;
}
