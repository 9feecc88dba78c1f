// A file's path as the system's file functions take it: UTF-16 on Windows, where a name
// may hold any character, and bytes elsewhere.
#pragma once

#include <string>

#ifdef _WIN32
using SystemPath = std::wstring;
#else
using SystemPath = std::string;
#endif

// The path of a name given as narrow text (a command line): on Windows text of the ANSI
// code page.
SystemPath SystemPathFromNarrow(const std::string& name);

// A path (or other text of the system's) as narrow text for messages: on Windows in the
// ANSI code page, where a character it lacks shows as a look-alike or "?".
std::string NarrowText(const SystemPath& text);
