// Text for a console window (Windows). A console shows its OEM code page, while vantorctl
// writes names in the ANSI code page and JSON in UTF-8: on a console the text goes out as
// UTF-16 through the console's own output, so that every name reads right. Redirected
// output keeps its bytes, as scripts read them.
#pragma once

#include <functional>
#include <streambuf>
#include <string>

class ConsoleTextBuffer : public std::streambuf {
public:
    using Sink = std::function<void(const std::wstring&)>;

    // Bytes of `codePage` in, UTF-16 to `sink` at each line's end and each flush.
    ConsoleTextBuffer(unsigned codePage, Sink sink) : m_codePage(codePage), m_sink(std::move(sink)) {}
    ~ConsoleTextBuffer() override { ConsoleTextBuffer::sync(); }  // what is left of the last line

    // UTF-16 text straight to the sink, after what came before it.
    void PutWide(const std::wstring& text);

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    unsigned m_codePage;
    Sink m_sink;
    std::string m_pending;
};

// The sink of the console that `handle` (a standard handle) writes to; empty when the
// handle is not a console, as when the output is redirected.
ConsoleTextBuffer::Sink ConsoleSink(void* handle);
