// CSliderCtrl: a trackbar control.
#pragma once

#include "Wnd.h"

class CSliderCtrl : public CWnd {
public:
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetPos() const;
    void SetPos(int nPos);
};
