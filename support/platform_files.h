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

// True when a new file can be created in the folder (none is left behind). The trial file's name
// is the process's own, so that two copies of the program starting at once do not fail each other.
bool CanCreateFileIn(const Text& folder);

// False when the file is there but cannot be opened for writing: read-only, or a folder in its
// place. A file another program holds open counts as writable, as it will be once let go.
bool CanWriteOrMissing(const Text& path);

// The user's own folder for program data that stays on this machine: %LOCALAPPDATA% on Windows,
// $XDG_DATA_HOME or ~/.local/share elsewhere; empty when there is none.
Text LocalDataFolder();

enum class AppendResult { kWritten, kHeld, kFailed };
// Opens the file for reading and writing, creating it when missing and never truncating it, shared
// with nobody; appends the bytes at its end, `header` first when this call made the file, flushes
// them to the device and closes it. kHeld when another opening of the file stands in the way.
AppendResult AppendAndFlush(const Text& path, const std::string& header, const std::string& bytes);

}  // namespace platform
