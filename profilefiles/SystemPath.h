// Text as the system's functions take and give it, a file's path for one: UTF-16 on
// Windows, where a name may hold any character, and bytes elsewhere.
#pragma once

#include <string>

#ifdef _WIN32
using SystemText = std::wstring;
#else
using SystemText = std::string;
#endif
using SystemPath = SystemText;

// The path of a name given as narrow text (a command line): on Windows text of the ANSI
// code page.
SystemPath SystemPathFromNarrow(const std::string& name);

// A path or other text of the system's as narrow text for messages: on Windows in the
// ANSI code page, where a character it lacks shows as a look-alike or "?".
std::string NarrowText(const SystemText& text);
