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

// The bytes of valid UTF-8 `text`, each character's from `append` (false when the code
// page has none for it); false, with `lacking` the first such character.
template <typename Append>
bool BytesOfCharacters(const std::string& text, Append append, std::string& bytes, std::string& lacking)
{
    bytes.clear();
    for (const std::string& character : Utf8Characters(text)) {
        if (append(character, bytes)) continue;
        lacking = character;
        return false;
    }
    return true;
}

}  // namespace

#ifdef _WIN32
// The names' code page is the system's ANSI code page, by its number: CP_ACP would hide
// that it is UTF-8 (65001) where the system uses UTF-8, whose conversion takes other flags.
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
// character, no look-alike). UTF-8 has a form for every character but a lone surrogate;
// Windows fails its conversion when it is asked for no look-alikes or for the default
// character's use, so it is checked for invalid characters alone.
bool WideTo(const CodePage& codePage, const std::wstring& wide, std::string& bytes)
{
    const bool utf8 = codePage.number == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* check = utf8 ? nullptr : &usedDefault;
    const auto convert = [&](char* to, int size, BOOL* used) {
        return codePage.fromUtf16(codePage.number, flags, wide.data(), int(wide.size()), to, size, nullptr, used);
    };
    const int size = convert(nullptr, 0, check);
    if (size <= 0 || usedDefault) return false;
    bytes.resize(size);
    return convert(bytes.data(), size, nullptr) == size;
}

// The text of name bytes; false unless they are text of the code page that converts back
// to the very same bytes.
bool CodePageToUtf8(const CodePage& codePage, const std::string& bytes, std::string& text)
{
    std::wstring wide;
    std::string back;
    text.clear();
    if (bytes.empty()) return true;  // the conversion calls refuse an empty input
    return WideFrom(codePage.number, bytes, wide) && WideTo(codePage, wide, back) && back == bytes &&
           WideTo({CP_UTF8, codePage.fromUtf16}, wide, text);
}

// Appends the code page's bytes of one UTF-8 character; false when it has none.
bool AppendCharacter(const CodePage& codePage, const std::string& character, std::string& bytes)
{
    std::wstring wide;
    std::string written;
    if (!WideFrom(CP_UTF8, character, wide) || !WideTo(codePage, wide, written)) return false;
    bytes += written;
    return true;
}

CodePage SystemCodePage() { return {GetACP()}; }

std::string NameOf(const CodePage& codePage) { return "code page " + std::to_string(codePage.number); }

}  // namespace

std::string NameCodePage() { return NameOf(SystemCodePage()); }

NameText TextOfNameBytes(const std::string& bytes, const CodePage& codePage)
{
    NameText name;
    name.inCodePage = CodePageToUtf8(codePage, bytes, name.text);
    if (!name.inCodePage) name.text = ByteForByteText(bytes);
    return name;
}
NameText TextOfNameBytes(const std::string& bytes) { return TextOfNameBytes(bytes, SystemCodePage()); }

bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& lacking, const CodePage& codePage)
{
    const auto append = [&codePage](const std::string& character, std::string& to) {
        return AppendCharacter(codePage, character, to);
    };
    return BytesOfCharacters(text, append, bytes, lacking);
}
bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& lacking)
{
    return NameBytesFromText(text, bytes, lacking, SystemCodePage());
}

bool IsTextOfNameCodePage(const std::wstring& text, const CodePage& codePage)
{
    std::string bytes;
    return text.empty() || WideTo(codePage, text, bytes);
}
bool IsTextOfNameCodePage(const std::wstring& text) { return IsTextOfNameCodePage(text, SystemCodePage()); }

std::string BytesInCodePage(const std::wstring& text, const CodePage& codePage)
{
    const int size = codePage.fromUtf16(codePage.number, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size > 0 ? size : 0, '\0');
    codePage.fromUtf16(codePage.number, 0, text.data(), int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring StartThatFits(const std::wstring& text, size_t limit, const CodePage& codePage)
{
    size_t end = 0;
    size_t bytes = 0;
    while (end < text.size()) {
        const bool pair = IS_HIGH_SURROGATE(text[end]) && end + 1 < text.size() && IS_LOW_SURROGATE(text[end + 1]);
        const size_t length = pair ? 2 : 1;
        bytes += BytesInCodePage(text.substr(end, length), codePage).size();
        if (bytes > limit) break;
        end += length;
    }
    return text.substr(0, end);
}

#else
// The names' code page is ISO 8859-1: one byte per character, of the same number, so
// that any bytes are its text.
namespace {

bool AppendLatin1Character(const std::string& character, std::string& bytes)
{
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) bytes += character;
    else if (character.size() == 2 && lead <= 0xC3) bytes += static_cast<char>((lead & 0x1F) << 6 | (character[1] & 0x3F));
    else return false;
    return true;
}

}  // namespace

std::string NameCodePage() { return "ISO 8859-1"; }

NameText TextOfNameBytes(const std::string& bytes) { return {ByteForByteText(bytes), true}; }

bool NameBytesFromText(const std::string& text, std::string& bytes, std::string& lacking)
{
    return BytesOfCharacters(text, AppendLatin1Character, bytes, lacking);
}
#endif
