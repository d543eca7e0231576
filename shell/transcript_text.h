// The transcript a user copies to hand a run to support staff: a header naming the program, when
// the shown run started and on what system, the local address line, then every list line, each
// ended by CR LF.
#pragma once

#include <optional>

#include "res/version.h"
#include "support/platform_process.h"
#include "support/text.h"

// The program and its file version, as the version resource gives it.
inline constexpr wchar_t kTranscriptProduct[] = L"Quorvex " QUORVEX_VERSION_TEXT;

// yyyy-mm-dd hh:mm:ss
Text FormatDateTime(const platform::DateTime& time);

// "Quorvex 1.0.0.1 2024-01-05 03:04:09 UTC+08:00 Windows 6.1.7601". Without a run start (none
// yet, or the press was refused) there is no time; an unknown system adds nothing.
Text TranscriptHeader(const std::optional<platform::DateTime>& runStart, const Text& system);

Text TranscriptText(const Text& header, const Text& addressLine, const TextList& lines);
