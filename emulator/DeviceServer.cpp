// The adapter emulated behind its driver's interface, for the unchanged programs under
// Wine: it registers a present device interface of the adapter's class whose device path
// is a named pipe, and serves the firmware emulation on that pipe.
//   emulated-adapter.exe MEMORY-FILE [--absent] [--fail-transfer N]... [--idle-exit SECONDS] [--ready FILE]
//                        [--count-writes FILE] [--one-open-handle]
//   emulated-adapter.exe --unplug | --plug | --stop
// The second form controls the server that runs in the same Wine prefix.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "DeviceRegistry.h"
#include "EmulatedAdapter.h"
#include "EmulatedDevice.h"
#include "PipeServer.h"
#include "SampleProfiles.h"

namespace {

enum ExitStatus { kDone = 0, kFailed = 1, kAlreadyRunning = 2 };

struct ServerOptions {
    std::string memoryFile;
    bool absent = false;
    std::vector<unsigned> failingTransfers;
    unsigned idleExitSeconds = 0;
    std::string readyFile;
    std::string writeCountFile;
    bool oneOpenHandle = false;
};

// How long a control request waits for the running server to carry it out.
constexpr DWORD kRequestTimeoutMs = 10000;
// How often the server looks whether it has been idle long enough.
constexpr DWORD kIdleCheckMs = 250;

HANDLE CreateNamedEvent(const wchar_t* name, bool manualReset = false)
{
    return CreateEventW(nullptr, manualReset, FALSE, name);
}

// Plugs the adapter in or out: absent, it is no longer listed and its connections drop.
void SetPresent(PipeServer& server, bool present)
{
    if (present) server.SetPresent(true);
    SetInterfaceLinked(present);
    if (!present) server.SetPresent(false);
    AnnounceInterface(present);
    std::printf("%s\n", present ? "plugged in" : "unplugged");
    std::fflush(stdout);
}

void RunUntilStopped(PipeServer& server, unsigned idleExitSeconds)
{
    const HANDLE requests[] = {CreateNamedEvent(kStopEventName), CreateNamedEvent(kUnplugEventName),
                               CreateNamedEvent(kPlugEventName)};
    const HANDLE done = CreateNamedEvent(kDoneEventName);
    for (;;) {
        const DWORD which = WaitForMultipleObjects(3, requests, FALSE, kIdleCheckMs);
        if (which == WAIT_OBJECT_0) break;
        if (which == WAIT_OBJECT_0 + 1 || which == WAIT_OBJECT_0 + 2) {
            SetPresent(server, which == WAIT_OBJECT_0 + 2);
            SetEvent(done);
        }
        if (idleExitSeconds > 0 && server.IdleFor(idleExitSeconds)) {
            std::printf("no client for %u s\n", idleExitSeconds);
            break;
        }
    }
    for (HANDLE request : requests) CloseHandle(request);
    CloseHandle(done);
}

bool PrepareAdapter(EmulatedAdapter& adapter, const ServerOptions& options)
{
    if (!UseMemoryFileWithSamples(adapter, options.memoryFile)) {
        std::fprintf(stderr, "the memory file %s cannot be used: it must hold exactly 4096 bytes\n",
                     options.memoryFile.c_str());
        return false;
    }
    for (unsigned number : options.failingTransfers) adapter.FailTransfer(number);
    if (options.oneOpenHandle) adapter.AllowOneOpenHandle();
    if (!options.writeCountFile.empty() && !adapter.CountWritePacketsIn(options.writeCountFile)) {
        std::fprintf(stderr, "the file %s cannot be written\n", options.writeCountFile.c_str());
        return false;
    }
    return true;
}

int Serve(const ServerOptions& options)
{
    // Owned for the server's whole life: a second server stops here, and --stop waits on it.
    const HANDLE alive = CreateMutexW(nullptr, TRUE, kServerMutexName);
    if (!alive || GetLastError() == ERROR_ALREADY_EXISTS) {
        std::fprintf(stderr, "an emulated adapter is already running\n");
        return kAlreadyRunning;
    }
    EmulatedAdapter adapter(EmulatedAdapter::Clock::Virtual);
    if (!PrepareAdapter(adapter, options)) return kFailed;
    PipeServer server(adapter);
    server.SetPresent(!options.absent);
    if (!server.Listen()) {
        std::fprintf(stderr, "the pipe is in use by another program\n");
        return kAlreadyRunning;
    }
    if (!RegisterDeviceInterface() || !SetInterfaceLinked(!options.absent)) {
        std::fprintf(stderr, "the device interface cannot be registered\n");
        return kFailed;
    }
    if (!options.readyFile.empty()) std::fclose(std::fopen(options.readyFile.c_str(), "w"));
    std::printf("emulated adapter %s, memory %s\n", options.absent ? "unplugged" : "plugged in",
                options.memoryFile.c_str());
    std::fflush(stdout);

    RunUntilStopped(server, options.idleExitSeconds);
    SetInterfaceLinked(false);
    server.Stop();
    if (!options.readyFile.empty()) std::remove(options.readyFile.c_str());
    std::printf("stopped\n");
    ReleaseMutex(alive);
    return kDone;
}

// Asks the running server to plug the adapter in or out, and waits until it has.
int RequestPresence(bool present)
{
    const HANDLE request = OpenEventW(EVENT_MODIFY_STATE, FALSE, present ? kPlugEventName : kUnplugEventName);
    const HANDLE done = OpenEventW(SYNCHRONIZE, FALSE, kDoneEventName);
    const bool carriedOut = request && done && SetEvent(request) && WaitForSingleObject(done, kRequestTimeoutMs) == WAIT_OBJECT_0;
    if (!carriedOut) std::fprintf(stderr, "no emulated adapter answered\n");
    if (request) CloseHandle(request);
    if (done) CloseHandle(done);
    return carriedOut ? kDone : kFailed;
}

// Asks the running server to stop and waits until it has ended; without one there is
// nothing to do.
int RequestStop()
{
    const HANDLE alive = OpenMutexW(SYNCHRONIZE, FALSE, kServerMutexName);
    const HANDLE request = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEventName);
    if (!alive || !request) return kDone;
    SetEvent(request);
    const DWORD waited = WaitForSingleObject(alive, kRequestTimeoutMs);
    const bool ended = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (ended) ReleaseMutex(alive);
    else std::fprintf(stderr, "the emulated adapter did not stop\n");
    CloseHandle(request);
    CloseHandle(alive);
    return ended ? kDone : kFailed;
}

}  // namespace

int main(int argc, char** argv)
{
    CLI::App app{"The adapter emulated behind its driver's interface, for programs under Wine.",
                 "emulated-adapter.exe"};
    // Paths from the Linux side start with '/', which Windows-style options would take.
    app.allow_windows_style_options(false);
    ServerOptions options;
    auto* memory = app.add_option("MEMORY-FILE", options.memoryFile,
                                  "the adapter's memory, a 4096-byte image; created with sample profiles when missing")
                       ->type_name("FILE");
    auto* absent = app.add_flag("--absent", options.absent, "start unplugged");
    auto* fail = app.add_option("--fail-transfer", options.failingTransfers,
                                "refuse the N-th transfer, counted from 1 over all connections")
                     ->allow_extra_args(false)
                     ->type_name("N");
    auto* idle = app.add_option("--idle-exit", options.idleExitSeconds, "end after SECONDS without a client")
                     ->type_name("SECONDS");
    auto* ready = app.add_option("--ready", options.readyFile, "FILE exists while the adapter can be found")
                      ->type_name("FILE");
    auto* counts = app.add_option("--count-writes", options.writeCountFile,
                                  "keep in FILE the number of write packets taken so far")
                       ->type_name("FILE");
    auto* oneHandle = app.add_flag("--one-open-handle", options.oneOpenHandle,
                                   "as a driver that allows one open handle: refuse a client while another holds one");
    bool stop = false, unplug = false, plug = false;
    auto* controls = app.add_option_group("control", "control the running server");
    controls->add_flag("--stop", stop, "stop it: the adapter is absent afterwards");
    controls->add_flag("--unplug", unplug, "make the adapter absent");
    controls->add_flag("--plug", plug, "make the adapter present again");
    controls->require_option(0, 1);
    for (CLI::Option* serving : {memory, absent, fail, idle, ready, counts, oneHandle}) controls->excludes(serving);
    try {
        app.parse(argc, argv);
        if (!stop && !unplug && !plug && options.memoryFile.empty()) throw CLI::RequiredError("MEMORY-FILE");
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? kDone : kFailed;
    }
    if (stop) return RequestStop();
    if (unplug || plug) return RequestPresence(plug);
    return Serve(options);
}
