#include "NameText.h"

#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Each byte as the character of the same number (ISO 8859-1), in UTF-8.
std::string ByteForByteText(const std::string& bytes)
{
    std::string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// The characters of valid UTF-8 text, each as its bytes.
std::vector<std::string> Utf8Characters(const std::string& text)
{
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

}  // namespace

#ifdef _WIN32
// The names' code page is the system's ANSI code page.
namespace {

// `bytes` of `codePage` as UTF-16; false when they are not valid text of it.
bool WideFrom(UINT codePage, const std::string& bytes, std::wstring& wide)
{
    const int size = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (size <= 0) return false;
    wide.resize(size);
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), wide.data(), size) == size;
}

// `wide` in `codePage`; false when a character has no form of its own there (no default
// character, no look-alike).
bool WideTo(UINT codePage, const std::wstring& wide, std::string& bytes)
{
    const bool utf8 = codePage == CP_UTF8;  // writes every character and takes no check
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* check = utf8 ? nullptr : &usedDefault;
    const int size = WideCharToMultiByte(codePage, flags, wide.data(), int(wide.size()), nullptr, 0, nullptr, check);
    if (size <= 0 || usedDefault) return false;
    bytes.resize(size);
    return WideCharToMultiByte(codePage, flags, wide.data(), int(wide.size()), bytes.data(), size, nullptr, nullptr) == size;
}

// The text of name bytes; false unless they are text of the code page that converts back
// to the very same bytes.
bool CodePageToUtf8(const std::string& bytes, std::string& text)
{
    std::wstring wide;
    std::string back;
    text.clear();
    if (bytes.empty()) return true;  // the conversion calls refuse an empty input
    return WideFrom(CP_ACP, bytes, wide) && WideTo(CP_ACP, wide, back) && back == bytes && WideTo(CP_UTF8, wide, text);
}

// Appends the code page's bytes of one UTF-8 character; false when it has none.
bool AppendCharacter(const std::string& character, std::string& bytes)
{
    std::wstring wide;
    std::string written;
    if (!WideFrom(CP_UTF8, character, wide) || !WideTo(CP_ACP, wide, written)) return false;
    bytes += written;
    return true;
}

}  // namespace

std::string NameCodePage() { return "code page " + std::to_string(GetACP()); }

bool IsTextOfNameCodePage(const std::wstring& text)
{
    std::string bytes;
    return text.empty() || WideTo(CP_ACP, text, bytes);
}

#else
// The names' code page is ISO 8859-1: one byte per character, of the same number.
namespace {

bool CodePageToUtf8(const std::string& bytes, std::string& text)
{
    text = ByteForByteText(bytes);
    return true;
}

bool AppendCharacter(const std::string& character, std::string& bytes)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) bytes += character;
    else if (character.size() == 2 && lead <= 0xC3) bytes += static_cast<char>((lead & 0x1F) << 6 | (character[1] & 0x3F));
    else return false;
    return true;
}

}  // namespace

std::string NameCodePage() { return "ISO 8859-1"; }
#endif

NameText TextOfNameBytes(const std::string& bytes)
{
    NameText name;
    name.inCodePage = CodePageToUtf8(bytes, name.text);
    if (!name.inCodePage) name.text = ByteForByteText(bytes);
    return name;
}

bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& problem)
{
    bytes.clear();
    for (const std::string& character : Utf8Characters(text)) {
        if (AppendCharacter(character, bytes)) continue;
        problem = "the character \"" + character + "\" is not in " + NameCodePage();
        return false;
    }
    return true;
}
