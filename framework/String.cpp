#include "String.h"

#include "ResourceLanguage.h"

CString& CString::operator=(const wchar_t* psz)
{
    m_text = psz ? psz : L"";
    return *this;
}

BOOL CString::LoadString(UINT nID)
{
    m_text = AfxLoadString(nID);
    return !m_text.empty();
}
