// Reads a run log back: its byte-order mark and its records.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/text.h"

struct RunLogContent {
  bool hasBom = false;
  std::vector<std::string> records;  // UTF-8, each with its CR LF
};

RunLogContent ReadRunLog(const std::filesystem::path& path);

// The message of a well-formed record, or nullopt.
std::optional<std::string> RunLogMessage(const std::string& record);

// The messages of every record; a malformed record shows as "<malformed>".
TextList ReadRunLogMessages(const std::filesystem::path& path);
