// CString: a narrow (ANSI) text string that can load itself from the string table.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_text(psz ? psz : "") {}

    CString& operator=(const char* psz);
    operator const char*() const { return m_text.c_str(); }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }

    // The string resource nID of the program's module; empty and FALSE when it is missing.
    BOOL LoadString(UINT nID);

private:
    std::string m_text;
};
