#include "MessageAnswering.h"

#include <windows.h>

namespace {

// A window whose drawing fails to validate it would be asked to draw again at once.
constexpr int kMostPaintsAnswered = 64;

}  // namespace

// Sent messages are answered inside PeekMessage itself; input is taken out of the queue
// and dropped; what is due to be drawn is drawn. Posted messages wait for the window's
// own loop.
void AnswerPendingMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
    for (int i = 0; i < kMostPaintsAnswered && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i)
        DispatchMessageW(&msg);
    // Dropped mouse input has the system set each window's own cursor again.
    SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

unsigned long WaitAnsweringMessages(void* object, unsigned timeoutMs)
{
    HANDLE handle = object;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE | QS_PAINT | QS_INPUT);
        if (result != WAIT_OBJECT_0 + 1) return result;
        AnswerPendingMessages();
    }
}
