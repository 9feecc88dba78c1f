// vantorctl's entry: the real adapter's driver on Windows, none elsewhere.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include "NameText.h"
#include "Win32AdapterLock.h"
#include "Win32AdapterPort.h"
#else
#include <unistd.h>
#endif

namespace {

bool ErrorStreamIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CtlOutput output = {std::cout, std::cerr, ErrorStreamIsTerminal()};
#ifdef _WIN32
    // The arguments arrive in the ANSI code page, where a character that it lacks turns
    // into a look-alike or "?": such a call would name another profile or file than the
    // one written, so it is refused.
    if (!IsTextOfNameCodePage(GetCommandLineW())) {
        std::cerr << "vantorctl: the command line holds a character that " << NameCodePage() << " cannot write\n";
        return kCtlUsage;
    }
    Win32AdapterPort port;
    Win32AdapterLock lock;
    const DriverAccess driver = {port, lock};
    return RunVantorctl(args, output, &driver);
#else
    return RunVantorctl(args, output, nullptr);
#endif
}
