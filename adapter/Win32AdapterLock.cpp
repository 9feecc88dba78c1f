#include "Win32AdapterLock.h"

#include <windows.h>
#include <sddl.h>

namespace {

const wchar_t kAdapterLockName[] = L"Global\\VantorConfigAdapterLock";
constexpr unsigned kAdapterLockWaitMs = 5000;
// Waiting for it and giving it back is all any program needs of the mutex.
constexpr DWORD kLockAccess = SYNCHRONIZE | MUTEX_MODIFY_STATE;

// The mutex that the first program makes belongs to its user; this lets every other user
// take turns on it too (the default would refuse them, and their programs could not lock).
HANDLE MakeSharedMutex(const wchar_t* name)
{
    PSECURITY_DESCRIPTOR everyone = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100001;;;WD)", SDDL_REVISION_1, &everyone,
                                                         nullptr);
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, everyone, FALSE};
    HANDLE mutex = CreateMutexExW(everyone ? &attributes : nullptr, name, 0, kLockAccess);
    LocalFree(everyone);
    return mutex;
}

unsigned long WaitPlainly(void* object, unsigned ms) { return WaitForSingleObject(object, ms); }

}  // namespace

Win32AdapterLock::Win32AdapterLock(Wait wait) : Win32AdapterLock(kAdapterLockName, kAdapterLockWaitMs, wait) {}

Win32AdapterLock::Win32AdapterLock(const wchar_t* name, unsigned waitMs, Wait wait)
    : m_mutex(MakeSharedMutex(name)), m_waitMs(waitMs), m_wait(wait ? wait : WaitPlainly)
{
}

Win32AdapterLock::~Win32AdapterLock()
{
    if (m_mutex) CloseHandle(m_mutex);
}

// A holder that ended without giving the lock back is gone, and its transfers with it: the
// mutex then comes abandoned, and is taken all the same.
bool Win32AdapterLock::Acquire()
{
    if (!m_mutex) return false;
    const DWORD result = m_wait(m_mutex, m_waitMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void Win32AdapterLock::Release() { ReleaseMutex(m_mutex); }
