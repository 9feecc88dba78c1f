// The emulated adapter behind the pipe that its registered device path names. Each client
// connection is one open handle of the adapter and each message one transfer; a transfer
// the adapter refuses ends the connection, so that the client's next transfer fails, as
// it does on the real driver.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "EmulatedAdapter.h"

class PipeServer {
public:
    // `adapter` keeps a virtual clock: the pauses that clients really make advance it.
    explicit PipeServer(EmulatedAdapter& adapter);
    ~PipeServer();
    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    // Starts listening. False when the pipe cannot be made, for instance because another
    // server owns it.
    bool Listen();
    // Unplugged, every connection is dropped and new ones are refused.
    void SetPresent(bool present);
    // True when no client has been connected for `seconds`.
    bool IdleFor(unsigned seconds) const;
    // Drops every connection and stops listening; the adapter is not touched afterwards.
    void Stop();

private:
    struct Instance {
        HANDLE pipe;
        HANDLE ioDone;
        AdapterHandle adapterHandle;  // of its client; guarded by m_adapterMutex
    };
    enum class Interrupt { OnStop, OnStopOrUnplug };

    void Serve(Instance& instance);
    AdapterHandle OpenForClient(Instance& instance);
    void CloseHandlesOfClientsGone();
    bool AwaitClient(Instance& instance);
    void Converse(Instance& instance);
    bool Transfer(AdapterHandle handle, const uint8_t* message, DWORD size, double gapMs, uint8_t* reply,
                  DWORD* replySize);
    bool Complete(Instance& instance, OVERLAPPED& overlapped, bool underway, DWORD* moved, Interrupt interrupt);

    EmulatedAdapter& m_adapter;
    std::mutex m_adapterMutex;
    HANDLE m_stopped;  // manual reset: set once Stop begins
    HANDLE m_absent;   // manual reset: set while unplugged
    std::vector<Instance> m_instances;
    std::vector<std::thread> m_threads;
    std::atomic<int> m_connections{0};
    std::atomic<ULONGLONG> m_lastLeftMs;
};
