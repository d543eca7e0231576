// The transcript a user copies to hand a run to support staff: a header naming the program and
// when the shown run started, the local address line, then every list line, each ended by CR LF.
#pragma once

#include <optional>

#include "res/version.h"
#include "support/platform_process.h"
#include "support/text.h"

// The program and its file version, as the version resource gives it.
inline constexpr wchar_t kTranscriptProduct[] = L"Quorvex " QUORVEX_VERSION_TEXT;

// yyyy-mm-dd hh:mm:ss
Text FormatDateTime(const platform::DateTime& time);

// Without a run start (none yet, or the press was refused) the header names the program only.
Text TranscriptHeader(const std::optional<platform::DateTime>& runStart);

Text TranscriptText(const Text& header, const Text& addressLine, const TextList& lines);
