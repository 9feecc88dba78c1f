// CString: a text string (UTF-16) that can load itself from the string table of the
// program's shown language.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* psz) : m_text(psz ? psz : L"") {}

    CString& operator=(const wchar_t* psz);
    operator const wchar_t*() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }

    // String nID in the program's shown language (ResourceLanguage.h); empty and FALSE
    // when it is missing.
    BOOL LoadString(UINT nID);

private:
    std::wstring m_text;
};
