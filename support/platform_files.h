// The few file-system operations the run log needs, per platform.
#pragma once

#include <cstdint>
#include <string>

#include "support/text.h"

namespace platform {

// Separator between folder and name: a backslash on Windows, a slash elsewhere.
wchar_t PathSeparator();

// Full path of the running executable, however long; empty when it cannot be read.
Text ExecutablePath();

enum class PathKind { kMissing, kFile, kDirectory };
PathKind QueryPath(const Text& path);

// One folder, its parent must exist. False when it could not be made.
bool MakeDirectory(const Text& path);

// False when the status cannot be read.
bool FileSize(const Text& path, uint64_t& size);

bool RemoveFile(const Text& path);

// True when a new file can be created in the folder (none is left behind).
bool CanCreateFileIn(const Text& folder);

// The user's own folder for program data that stays on this machine: %LOCALAPPDATA% on Windows,
// $XDG_DATA_HOME or ~/.local/share elsewhere; empty when there is none.
Text LocalDataFolder();

// Opens the file for reading and writing, creating it when missing and never truncating it, shared
// with nobody; appends the bytes at its end, flushes them to the device and closes it.
bool AppendAndFlush(const Text& path, const std::string& bytes);

}  // namespace platform
