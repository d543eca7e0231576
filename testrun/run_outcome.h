// What the current run has found, as facts rather than list text, for the report a user copies or
// saves. Workers record each fact just before they show its line, so whatever the list shows is
// already here; the dialog reads a copy at any moment, also while the run goes on.
#pragma once

#include <vector>

#include "probe/node_result.h"
#include "probe/path_trace.h"
#include "support/text.h"

struct AcceptedLogin {
  Text url;
  bool imServer = false;  // else the WAP gateway
};

struct TcpTest {
  Text node;           // as the login result gave it
  int proxyIndex = 0;  // 0: the direct node; else the k-th (from 1) of `proxyCount` proxy nodes
  int proxyCount = 0;
  enum class Result { kPending, kConnected, kFailed } result = Result::kPending;
};

// The path to one Rtpp node whose verdict was not good; `trace.ended` false while it runs.
struct PathRecord {
  Text address;
  PathTrace trace;
};

struct RunOutcome {
  std::vector<AcceptedLogin> acceptedLogins;     // in the order the servers accepted
  std::vector<TcpTest> tcpTests;                 // in the order they were made
  std::vector<std::vector<NodeResult>> surveys;  // each successful survey's records
  // The Rtpp node URLs this run's logins returned. A survey may also probe an earlier run's, kept
  // by the launcher when a login returns none; the report speaks only of these.
  TextList rtppNodes;
  // The call sample's records, one per distinct resolved Rtpp node of this run, once it has ended.
  std::vector<NodeResult> calls;
  enum class Sample { kNotYet, kRunning, kEnded } sample = Sample::kNotYet;
  std::vector<PathRecord> paths;  // in the order of the report's quality block
  bool ended = false;             // the controller has finished
};

// The records of every survey of the run for nodes of `type` (probe/node_type.h).
std::vector<NodeResult> RunRecords(const RunOutcome& outcome, int32_t type);
// The Rtpp records of the nodes this run's logins returned; another run's, still registered with
// the launcher, are left out.
std::vector<NodeResult> RunRtppRecords(const RunOutcome& outcome);

// The records the call quality is rated on: the call sample's, and the names that did not resolve,
// which had none.
std::vector<NodeResult> RunCallRecords(const RunOutcome& outcome);

// Forgets the last run; called where a run's workers are started.
void ResetRunOutcome();

void RecordAcceptedLogin(const Text& url, bool imServer);
// A TCP test about to be made, then its result.
void RecordTcpTestStarted(const Text& node, int proxyIndex, int proxyCount);
void RecordTcpTestResult(bool connected);
void RecordRtppNodes(const TextList& urls);
void RecordSurvey(const std::vector<NodeResult>& records);
// The call sample about to run, then its records.
void RecordCallSampleStarted();
void RecordCallSample(const std::vector<NodeResult>& records);
// Traces about to run, then their results in the same order.
void RecordPathTracesStarted(const TextList& addresses);
void RecordPathTraces(const std::vector<PathTrace>& traces);
void RecordRunEnded();

// A copy of everything recorded since the last reset.
RunOutcome RunOutcomeSnapshot();
