// The driver's transcript: UTF-8 lines on standard output, written as they happen.
#pragma once

#include "support/text.h"

void PrintLine(const Text& line);
// A line on standard error, beside the transcript: measurements that vary from run to run.
void PrintNote(const Text& line);

// A text in double quotes, so empty and space-only texts stay visible in the transcript.
Text Quoted(const Text& text);
