// A profile's name is bytes in the adapter and text in JSON (UTF-8). On Windows the bytes
// are text of the system's ANSI code page, the one the window writes names in, so that a
// file shows names as the window does. Elsewhere no code page is known: each byte is the
// character of the same number (ISO 8859-1), which brings every name back byte for byte.
#pragma once

#include <string>

struct NameText {
    std::string text;  // UTF-8
    // False when the bytes are not text of the code page: the text then holds each byte
    // as the character of the same number, so that no byte is lost.
    bool inCodePage;
};

NameText TextOfNameBytes(const std::string& bytes);

// The bytes of a name's text (valid UTF-8, as the JSON parser hands it over); false, with
// `lacking` the first character the code page cannot write, when there is one.
bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& lacking);

// The code page of names, as messages call it: "code page 936", "ISO 8859-1".
std::string NameCodePage();

#ifdef _WIN32
#include <windows.h>

// Whether every character of `text` has bytes of its own in the code page (not the
// default character, not a look-alike).
bool IsTextOfNameCodePage(const std::wstring& text);

// A code page by its number, as the system's may be: 1252 or 936, or 65001 where Windows
// uses UTF-8 for the programs that are not Unicode; with the system's conversion into it.
struct CodePage {
    unsigned number;
    decltype(&WideCharToMultiByte) fromUtf16 = WideCharToMultiByte;
};

// The same as above in `codePage` in place of the system's.
NameText TextOfNameBytes(const std::string& bytes, const CodePage& codePage);
bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& lacking, const CodePage& codePage);
bool IsTextOfNameCodePage(const std::wstring& text, const CodePage& codePage);

// The bytes of `text` in `codePage`; a character that it lacks as the system writes it
// (a look-alike or the default character).
std::string BytesInCodePage(const std::wstring& text, const CodePage& codePage);

// The longest start of `text` that takes at most `limit` bytes in `codePage`, cut between
// whole characters (a surrogate pair is one): a name is never cut inside a character.
std::wstring StartThatFits(const std::wstring& text, size_t limit, const CodePage& codePage);
#endif
