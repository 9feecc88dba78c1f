#include "String.h"

#include <vector>

#include "WinApp.h"

CString& CString::operator=(const char* psz)
{
    m_text = psz ? psz : "";
    return *this;
}

BOOL CString::LoadString(UINT nID)
{
    // LoadStringA reports only how much it copied, so the buffer grows until the text fits
    // with room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        const int length = ::LoadStringA(AfxGetInstanceHandle(), nID, buffer.data(), static_cast<int>(buffer.size()));
        if (length < static_cast<int>(buffer.size()) - 1) {
            m_text.assign(buffer.data(), length > 0 ? length : 0);
            return length > 0;
        }
        buffer.resize(buffer.size() * 2);
    }
}
