// One whole-run case in one file: what the service answers and what the user must see.
//
//   # what the case shows (comment lines, only before the first section)
//   [service]
//   {"im": {behaviour}, "wap": {behaviour}, "logout": {behaviour}}   as in docs/service-protocol.md
//   [list]
//   every line of the progress list, in order; an empty line is a blank list line;
//   "{repeat N} LINE" stands for N such lines
//   [address]                                     optional
//   {behaviour}                                   how the client-address service answers; the
//                                                 case then runs with a simulator of its own
//   [address line]
//   the text the local address line must show once the run ended
//   [address answers late]                        optional, empty: the address query returns only
//                                                 after the run: when the button comes back the
//                                                 line still shows the previous run's text
//   [summary]                                     optional
//   the lines of the report's summary after "概要", once the run ended, written as in [list]
//   [fastest echo]                                optional, checked natively
//   ADDRESS {LOW..HIGH}                           per node: its fastest answered echo, in ms, which
//                                                 a busy machine cannot make faster than the test
//                                                 host's delay, nor all its echoes slower
//   [routers]                                     optional: the run goes through a bed of Linux
//   router NAME [behind PARENT] [OPTIONS]         routers in namespaces, built by
//   relay ADDRESS behind ROUTER [silent]          scripts/router-bed (see there), in a namespace
//                                                 of its own with a simulator of its own
//   [runs]                                        optional
//   N                                             the whole run is made N times back to back,
//                                                 each as the case says
//   [call sample]                                 optional, for cases not about call quality
//   N ms                                          the call sample lasts N ms, not the program's
//                                                 6 s (QUORVEX_CALL_SAMPLE_MS under Wine)
//   [log]                                         optional
//   tail                                          the log rolled over during the run: it holds the
//                                                 last of the run's records, none of them torn
//   held                                          another program holds the log file open for
//                                                 the whole run: the run writes no record
//   blocked                                       a file named "log" stands where the folder
//                                                 would go: the run's records all go to the
//                                                 user's local data folder instead
//   read-only file                                NetLog.log cannot be opened for writing (a
//                                                 folder stands in its place, as Linux and Wine
//                                                 let root write a read-only file): the same
//   read-only folder                              the log folder is there, but no file can be
//                                                 made in it (a link to /proc, where not even
//                                                 root makes one): the same
//   size N                                        the log holds N bytes when the run starts: up
//                                                 to the size limit the file is kept for the
//                                                 first record and begun again at the second, so
//                                                 the run's first record is missing; past it the
//                                                 file is begun again at once and holds them all
//
// The simulator answers logins of the user named like the file (without ".case") as [service]
// says. In [list] a number the run measures is written {LOW..HIGH}, and a code that differs by
// platform by its name: {refused}, {timed-out}, {not-found}, {try-again}; "{{" is a brace. The run
// log must hold the list without its blank lines and "网络测试结束", the three separator lines
// after it, and the local address record once, anywhere.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "support/text.h"

struct CaseFile {
  std::string name;                 // the user name the run logs in with
  std::string service;              // the [service] section as it stands
  TextList list;                    // the [list] section, one entry per line, repetitions spelt out
  std::string address;              // the [address] section as it stands; empty without one
  Text addressLine;                 // the [address line] section
  bool addressAnswersLate = false;  // [address answers late]
  TextList summary;                 // the [summary] section; empty without one
  TextList fastestEchoes;           // the [fastest echo] section; empty without one
  bool logTail = false;             // [log] says "tail"
  bool routerBed = false;           // a [routers] section
  uint32_t callSampleMs = 0;        // [call sample]; 0: the program's own length
  enum class LogStart {
    kCleared,
    kHeld,
    kBlocked,
    kReadOnlyFile,
    kReadOnlyFolder,
    kSized
  } logStart = LogStart::kCleared;
  uint64_t logStartBytes = 0;  // with kSized
};

// False with a message when the file cannot be read or has not both sections.
bool ReadCaseFile(const std::filesystem::path& path, CaseFile& out, std::string& error);

// Whether a list line matches its expected line, patterns included.
bool LineMatches(const Text& expected, const Text& actual);

// Compares a whole list; false with the first difference described in `why`.
bool ListMatches(const TextList& expected, const TextList& actual, std::string& why);

// Compares the run log's messages with the list the run showed and the address line it set, as
// the case's [log] section says; `logMessages` read once the run ended and any hold on the file
// was released.
bool CaseLogMatches(const CaseFile& file, const TextList& list, const Text& addressLine,
                    const TextList& logMessages, std::string& why);

// Whether the case keeps the run log from beside the program, so that it goes to the fallback.
inline bool CaseLogFallsBack(const CaseFile& file) {
  return file.logStart == CaseFile::LogStart::kBlocked ||
         file.logStart == CaseFile::LogStart::kReadOnlyFile ||
         file.logStart == CaseFile::LogStart::kReadOnlyFolder;
}

// Whether the run is expected to write the local address record, which a check may wait for.
bool CaseLogsAddress(const CaseFile& file);

// Whether the local address line shows what [address line] says once the address has come, and
// what it showed when the button came back: `previous`, the text it had before the run, or the
// run's address; with [address answers late] only `previous`.
bool AddressLineMatches(const CaseFile& file, const Text& shown, std::string& why);
bool AddressAtButtonMatches(const CaseFile& file, const Text& shownAtButton, const Text& previous,
                            std::string& why);

// What the runners put into the address line before a run, standing for an earlier run's.
inline constexpr const wchar_t* kPreviousAddressLine = L"本机IP为：上一次运行的地址";

// Whether the case needs a simulator of its own: the client-address service is shared by every
// run, as its requests carry no user.
inline bool CaseOwnsService(const CaseFile& file) { return !file.address.empty(); }

inline constexpr const wchar_t* kAddressRecordPrefix = L"本机IP为：";
