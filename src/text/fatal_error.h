#pragma once
// The program's only error report: it is shown, then the process ends at once
// with exit code -1, without the releases registered for a normal exit.

#include "text/values.h"

// Builds the report from the code (left out of it when 0) and the message.
[[noreturn]] void fatalError(int code, const Text& message);
Text fatalErrorReport(int code, const Text& message);

// How a report is shown. The platform's own (fatal_display_*.cpp) is a message
// box on Windows and standard error on Linux; the window layer and the tests
// replace it. Null restores the platform's own.
using FatalErrorDisplay = void (*)(const Text& report);
void setFatalErrorDisplay(FatalErrorDisplay display);
void platformFatalErrorDisplay(const Text& report);
