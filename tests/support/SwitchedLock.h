// The lock on the adapter as another program would hold it: taken or not, at the test's
// word; it tells whether the program under test holds it. Like the system's mutex, its
// holder may take it again, and holds it until it has given it back as often.
#pragma once

#include "AdapterLock.h"

class SwitchedLock : public AdapterLock {
public:
    bool busy = false;
    bool held = false;

    bool Acquire() override
    {
        if (busy) return false;
        ++m_takes;
        return held = true;
    }
    void Release() override { held = --m_takes > 0; }

private:
    int m_takes = 0;
};
