#include "SliderCtrl.h"

#include <commctrl.h>

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, FALSE, nMin);
    ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
}

int CSliderCtrl::GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }
void CSliderCtrl::SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
