// Where the minimised window draws its icon: centred in the client area, rounding up
// where the free space is odd, truncating toward zero in signed arithmetic.
#pragma once

#include <windows.h>

inline POINT CentredIconOrigin(const RECT& client, int cxIcon, int cyIcon)
{
    return {(client.right - client.left - cxIcon + 1) / 2, (client.bottom - client.top - cyIcon + 1) / 2};
}
