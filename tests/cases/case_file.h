// One whole-run case in one file: what the service answers and what the user must see.
//
//   # what the case shows (comment lines, only before the first section)
//   [service]
//   {"im": {behaviour}, "wap": {behaviour}, "logout": {behaviour}}   as in docs/service-protocol.md
//   [list]
//   every line of the progress list, in order; an empty line is a blank list line;
//   "{repeat N} LINE" stands for N such lines
//   [log]                                         optional
//   tail                                          the log rolled over during the run: it holds the
//                                                 last of the run's records, none of them torn
//
// The simulator answers logins of the user named like the file (without ".case") as [service]
// says. In [list] a number the run measures is written {LOW..HIGH}, and a code that differs by
// platform by its name: {refused}, {timed-out}, {not-found}, {try-again}; "{{" is a brace. The run
// log must hold the list without its blank lines and "网络测试结束", the three separator lines
// after it, and the local address record once, anywhere.
#pragma once

#include <filesystem>
#include <string>

#include "support/text.h"

struct CaseFile {
  std::string name;      // the user name the run logs in with
  std::string service;   // the [service] section as it stands
  TextList list;         // the [list] section, one entry per line, repetitions spelt out
  bool logTail = false;  // [log] says "tail"
};

// False with a message when the file cannot be read or has not both sections.
bool ReadCaseFile(const std::filesystem::path& path, CaseFile& out, std::string& error);

// Whether a list line matches its expected line, patterns included.
bool LineMatches(const Text& expected, const Text& actual);

// Compares a whole list; false with the first difference described in `why`.
bool ListMatches(const TextList& expected, const TextList& actual, std::string& why);

// Compares the run log's messages with the list the run showed and the address line it set. With
// `tail` the log need only hold the last records of the run, the address record optional.
bool LogMatches(const TextList& list, const Text& addressLine, const TextList& logMessages,
                bool tail, std::string& why);

inline constexpr const wchar_t* kAddressRecordPrefix = L"本机IP为：";
