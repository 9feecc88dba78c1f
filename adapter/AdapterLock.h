// One program at a time talks to the adapter. Its protocol announces each half in a
// command packet and then moves it, so the transfers of two programs at once put data
// into the wrong halves, and a program that reads, changes and writes the configuration
// would lose what another wrote in between. Every program of the project holds this lock
// for the whole of a load, of a save with its read-back, and of a read-change-write.
#pragma once

class AdapterLock {
public:
    virtual ~AdapterLock() = default;

    // Takes the lock, waiting a few seconds at most while another program holds it; false
    // when it is still taken then: the adapter is busy.
    virtual bool Acquire() = 0;
    virtual void Release() = 0;
};

// Holds the lock for its scope once it could be taken.
class AdapterLockHold {
public:
    explicit AdapterLockHold(AdapterLock& lock) : m_lock(lock), m_held(lock.Acquire()) {}
    ~AdapterLockHold()
    {
        if (m_held) m_lock.Release();
    }
    AdapterLockHold(const AdapterLockHold&) = delete;
    AdapterLockHold& operator=(const AdapterLockHold&) = delete;

    bool Held() const { return m_held; }

private:
    AdapterLock& m_lock;
    bool m_held;
};
