// The lock on the adapter as another program would hold it: taken or not, at the test's
// word; it tells whether the program under test holds it.
#pragma once

#include "AdapterLock.h"

class SwitchedLock : public AdapterLock {
public:
    bool busy = false;
    bool held = false;

    bool Acquire() override { return held = !busy; }
    void Release() override { held = false; }
};
