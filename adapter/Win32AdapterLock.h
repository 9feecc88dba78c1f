// The lock on the adapter as a named mutex in the system-wide namespace, so that the
// programs of every session and user of the machine take turns.
#pragma once

#include "AdapterLock.h"

class Win32AdapterLock : public AdapterLock {
public:
    // How the mutex is waited for, as WaitForSingleObject(object, ms) would: a window waits
    // answering its messages. Without one, the thread just waits.
    using Wait = unsigned long (*)(void* object, unsigned ms);

    // The one lock that the project's programs share, waited for 5 seconds at most: long
    // enough to outlast another program's save with its read-back.
    explicit Win32AdapterLock(Wait wait = nullptr);
    // A lock of another name and wait, for tests that must not meet the programs' lock.
    Win32AdapterLock(const wchar_t* name, unsigned waitMs, Wait wait = nullptr);
    ~Win32AdapterLock() override;
    Win32AdapterLock(const Win32AdapterLock&) = delete;
    Win32AdapterLock& operator=(const Win32AdapterLock&) = delete;

    bool Acquire() override;
    void Release() override;

private:
    void* m_mutex;  // null when the mutex could not be made: the adapter counts as busy
    unsigned m_waitMs;
    Wait m_wait;
};
