#include "SystemPath.h"

#ifdef _WIN32
#include <windows.h>

SystemPath SystemPathFromNarrow(const std::string& name)
{
    const int length = static_cast<int>(name.size());
    std::wstring path(MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), length, path.data(), static_cast<int>(path.size()));
    return path;
}

std::string NarrowText(const SystemText& text)
{
    const int length = static_cast<int>(text.size());
    std::string narrow(WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, narrow.data(), static_cast<int>(narrow.size()), nullptr, nullptr);
    return narrow;
}
#else
SystemPath SystemPathFromNarrow(const std::string& name) { return name; }

std::string NarrowText(const SystemText& text) { return text; }
#endif
