// vantorctl's entry: the real adapter's driver on Windows, none elsewhere.
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

#ifdef _WIN32
#include <io.h>

#include "Win32AdapterPort.h"
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    const CtlOutput output = {std::cout, std::cerr, isatty(fileno(stderr)) != 0};
#ifdef _WIN32
    Win32AdapterPort driver;
    return RunVantorctl(args, output, &driver);
#else
    return RunVantorctl(args, output, nullptr);
#endif
}
