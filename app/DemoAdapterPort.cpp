// The demo program's adapter: an emulated one, set up from the command line.
//   vantor-config-demo.exe [--no-adapter] [--fail-transfer N]... [MEMORY-FILE]
// MEMORY-FILE holds the emulated adapter's 4096-byte image; when it does not exist it is
// created with a few sample profiles. Without it the memory lives only for the run.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "AdapterChoice.h"
#include "EmulatedAdapter.h"
#include "SampleProfiles.h"

namespace {

void ConfigureFromArguments(EmulatedAdapter& adapter, int argc, char** argv)
{
    const char* memoryFile = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-adapter") == 0) adapter.SetPresent(false);
        else if (std::strcmp(argv[i], "--fail-transfer") == 0 && i + 1 < argc) adapter.FailTransfer(std::atoi(argv[++i]));
        else memoryFile = argv[i];
    }
    if (!memoryFile) WriteSampleImage(adapter.Memory());
    else if (!UseMemoryFileWithSamples(adapter, memoryFile)) {
        MessageBoxA(nullptr, "The emulated adapter's memory file cannot be used: it must hold exactly 4096 bytes.",
                    "Vantor Config demo", MB_OK | MB_ICONERROR);
        adapter.SetPresent(false);
    }
}

}  // namespace

AdapterPort& ApplicationAdapterPort()
{
    static EmulatedAdapter adapter(EmulatedAdapter::Clock::Real);
    static bool configured = false;
    if (!configured) {
        ConfigureFromArguments(adapter, __argc, __argv);
        configured = true;
    }
    return adapter;
}
