// Text that the system gives (a file's reason for failing, in the user's language) onto
// vantorctl's output.
#pragma once

#include <ostream>

#include "SystemPath.h"

// On a console window the text goes out as it is, in any language (ConsoleText.h);
// elsewhere, as redirected output, narrowed to the ANSI code page like the rest.
void WriteSystemText(std::ostream& out, const SystemText& text);

// The line "vantorctl: TEXT" and the system's `reason` (as FileOutcome gives it) on `err`.
void ReportWithSystemReason(std::ostream& err, const std::string& text, const SystemText& reason);
