#include "ResourceLanguage.h"

#include <set>
#include <vector>

#include "WinApp.h"

namespace {

LANGID g_shownLanguage = 0;  // 0: not chosen yet

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::set<LANGID>*>(languages)->insert(language);
    return TRUE;
}

BOOL CALLBACK CollectLanguagesOfBlock(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR languages)
{
    ::EnumResourceLanguagesA(module, type, name, CollectLanguage, languages);
    return TRUE;
}

// The languages that the program's string tables are written in.
std::set<LANGID> StringTableLanguages()
{
    std::set<LANGID> languages;
    ::EnumResourceNamesA(AfxGetInstanceHandle(), RT_STRING, CollectLanguagesOfBlock, reinterpret_cast<LONG_PTR>(&languages));
    return languages;
}

HRSRC FindLocalized(UINT nID, const char* type)
{
    HINSTANCE module = AfxGetInstanceHandle();
    HRSRC found = ::FindResourceExA(module, type, MAKEINTRESOURCEA(nID), AfxGetResourceLanguage());
    return found ? found : ::FindResourceExA(module, type, MAKEINTRESOURCEA(nID), kEnglishLanguage);
}

}  // namespace

LANGID AfxChooseResourceLanguage(LANGID uiLanguage)
{
    const std::set<LANGID> languages = StringTableLanguages();
    if (languages.count(uiLanguage)) return uiLanguage;
    for (LANGID language : languages)
        if (PRIMARYLANGID(language) == PRIMARYLANGID(uiLanguage)) return language;
    return kEnglishLanguage;
}

LANGID AfxGetResourceLanguage()
{
    if (!g_shownLanguage) g_shownLanguage = AfxChooseResourceLanguage(::GetUserDefaultUILanguage());
    return g_shownLanguage;
}

void AfxSetResourceLanguage(LANGID language) { g_shownLanguage = language; }

const void* AfxLoadLocalizedResource(UINT nID, const char* type)
{
    HRSRC found = FindLocalized(nID, type);
    return found ? ::LockResource(::LoadResource(AfxGetInstanceHandle(), found)) : nullptr;
}

// A string table resource is a block of 16 strings, string n of the block numbered n / 16
// + 1 in place n % 16; each is its length in UTF-16 units followed by its text.
std::wstring AfxLoadStringOfLanguage(UINT nID, LANGID language)
{
    HINSTANCE module = AfxGetInstanceHandle();
    HRSRC block = ::FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(nID / 16 + 1), language);
    if (!block) return {};
    const auto* entry = static_cast<const WCHAR*>(::LockResource(::LoadResource(module, block)));
    for (UINT skipped = 0; skipped < nID % 16; ++skipped) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

std::wstring AfxLoadString(UINT nID)
{
    const std::wstring text = AfxLoadStringOfLanguage(nID, AfxGetResourceLanguage());
    return text.empty() ? AfxLoadStringOfLanguage(nID, kEnglishLanguage) : text;
}

std::wstring AfxFormatString(UINT nID, std::initializer_list<std::wstring> inserts)
{
    const std::wstring pattern = AfxLoadString(nID);
    std::wstring text;
    for (size_t at = 0; at < pattern.size(); ++at) {
        const size_t number = at + 1 < pattern.size() ? pattern[at + 1] - L'1' : inserts.size();
        if (pattern[at] == L'%' && number < inserts.size()) {
            text += inserts.begin()[number];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}

std::wstring AfxWideFromCodePage(const std::string& text, UINT codePage)
{
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    std::vector<wchar_t> wide(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0));
    ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
    return std::wstring(wide.begin(), wide.end());
}

std::wstring AfxWideFromAnsi(const std::string& text) { return AfxWideFromCodePage(text, CP_ACP); }
