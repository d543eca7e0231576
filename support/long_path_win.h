// Paths past MAX_PATH on a Windows that takes them only in the \\?\ form: with long paths not
// switched on (the default), and on Windows 7. Wine takes any path, so only a unit test shows this.
#pragma once

#include "support/text.h"

enum class PathUse {
  kFile,       // opened, queried, renamed or removed: the \\?\ form past 259 characters
  kNewFolder,  // made by CreateDirectoryW, which keeps room for an 8.3 name: past 247
};

// The path as the file functions take it at its length: an absolute one (C:\... or
// \\server\share\...) past the limit gets the \\?\ form (\\?\UNC\server\share\... for a share),
// made full first, as that form is taken as it stands ("/", "." and ".." mean nothing in it);
// anything else is left as it is. Never for ShellExecuteExW, which does not know the form.
Text LongPathForm(const Text& path, PathUse use = PathUse::kFile);
