#include "ConsoleText.h"

#include <windows.h>

ConsoleTextBuffer::int_type ConsoleTextBuffer::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    m_pending += traits_type::to_char_type(c);
    if (c == '\n') sync();
    return c;
}

// Every flush comes after whole texts (a line, a name, a message), so that no character
// is split between two conversions.
int ConsoleTextBuffer::sync()
{
    if (m_pending.empty()) return 0;
    const int size = MultiByteToWideChar(m_codePage, 0, m_pending.data(), int(m_pending.size()), nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(m_codePage, 0, m_pending.data(), int(m_pending.size()), wide.data(), size);
    m_pending.clear();
    m_sink(wide);
    return 0;
}

void ConsoleTextBuffer::PutWide(const std::wstring& text)
{
    sync();
    m_sink(text);
}

ConsoleTextBuffer::Sink ConsoleSink(void* handle)
{
    DWORD mode = 0;
    if (!GetConsoleMode(handle, &mode)) return {};
    return [handle](const std::wstring& text) {
        DWORD written = 0;
        WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
    };
}
