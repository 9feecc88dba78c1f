// While the window waits for the adapter's lock or transfers to the adapter, it keeps
// answering the system: the messages that the system and other programs send it and its
// drawing. Windows shows a window that answers nothing for 5 seconds as "(Not
// Responding)" and offers to end the program, in the middle of a write. Input that comes
// meanwhile is dropped: no click may act while the adapter is busy.
#pragma once

#include "AdapterPort.h"

// Answers what is pending for this thread's windows now, and shows the wait cursor.
void AnswerPendingMessages();

// Waits for a waitable object as WaitForSingleObject does, answering meanwhile.
unsigned long WaitAnsweringMessages(void* object, unsigned timeoutMs);

// The adapter's port, answering during each pause after a write packet.
class MessageAnsweringPort : public AdapterPort {
public:
    explicit MessageAnsweringPort(AdapterPort& port) : m_port(port) {}

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        return m_port.OpenInterface(guid, index);
    }
    void Close(AdapterHandle handle) override { m_port.Close(handle); }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Read(handle, data, size, done);
    }
    void Pause10ms() override
    {
        m_port.Pause10ms();
        AnswerPendingMessages();
    }

private:
    AdapterPort& m_port;
};
