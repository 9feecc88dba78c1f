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
// `problem` naming the first character the code page cannot write, when there is one.
bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& problem);

// The code page of names, as messages call it: "code page 936", "ISO 8859-1".
std::string NameCodePage();

#ifdef _WIN32
// Whether every character of `text` has bytes of its own in the code page (not the
// default character, not a look-alike).
bool IsTextOfNameCodePage(const std::wstring& text);
#endif
