// While the window waits for the adapter's lock or transfers to the adapter, it keeps
// answering the system: the messages that the system and other programs send it and its
// drawing. Windows shows a window that answers nothing for 5 seconds as "(Not
// Responding)" and offers to end the program, in the middle of a write. Input that comes
// meanwhile is dropped: no click may act while the adapter is busy.
#pragma once

// Answers what is pending for this thread's windows now, and shows the wait cursor.
void AnswerPendingMessages();

// Waits for a waitable object as WaitForSingleObject does, answering meanwhile.
unsigned long WaitAnsweringMessages(void* object, unsigned timeoutMs);
