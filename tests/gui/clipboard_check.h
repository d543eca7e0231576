// What the program put on the clipboard, and a copied transcript checked against the dialog.
#pragma once

#include <windows.h>

#include <optional>

#include "support/text.h"

// Empties the clipboard, so that the next text on it is the program's. False when it is busy.
bool EmptyTheClipboard();

// The text on the clipboard once there is some, waiting up to `timeoutMs`; nullopt if none came.
std::optional<Text> WaitForClipboardText(int timeoutMs);

// What the dialog showed at one moment.
struct DialogText {
  Text address;
  TextList lines;
};

// A copied report: the header "Quorvex 1.0.0.1", with the run's start and its UTC offset when it
// names one (the start must lie between `from` and `to`), and "Windows N.N.N"; then the address
// line and the list line for line as the dialog showed them at some moment between `before` and
// `after` (lines only come in at the end); then a blank line, "概要" and the summary, which goes to
// `summary`. Prints what it finds, the summary too; false when the text differs.
bool CheckTranscript(const Text& copied, const DialogText& before, const DialogText& after,
                     const SYSTEMTIME& from, const SYSTEMTIME& to, TextList& summary);
