// The language of the program's texts. Every language of the program is a set of
// resources (dialogs, menus, string tables) marked with its language; the program shows
// one of them, chosen once from the language of the user's Windows interface. A resource
// that the chosen language lacks comes from English, the language every text has.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

constexpr LANGID kEnglishLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The program's language for an interface in `uiLanguage`: the same one where the program
// has texts in it, else one of the same primary language (Chinese for any Chinese), else
// English.
LANGID AfxChooseResourceLanguage(LANGID uiLanguage);
// The language the texts are shown in: the one chosen for the user's interface language,
// unless AfxSetResourceLanguage set another.
LANGID AfxGetResourceLanguage();
void AfxSetResourceLanguage(LANGID language);

// Resource `nID` of `type` (a dialog template, a menu) in the shown language, else in
// English; null when the program has neither.
const void* AfxLoadLocalizedResource(UINT nID, const char* type);
// String `nID` of the string table of `language` alone; empty when it has none.
std::wstring AfxLoadStringOfLanguage(UINT nID, LANGID language);
// String `nID` in the shown language, else in English; empty when missing.
std::wstring AfxLoadString(UINT nID);
// String `nID` with each %1 ... %9 replaced by the insert of that number.
std::wstring AfxFormatString(UINT nID, std::initializer_list<std::wstring> inserts);
// Text of code page `codePage` as UTF-16.
std::wstring AfxWideFromCodePage(const std::string& text, UINT codePage);
// Text of the system's ANSI code page as UTF-16.
std::wstring AfxWideFromAnsi(const std::string& text);
