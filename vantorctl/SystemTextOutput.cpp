#include "SystemTextOutput.h"

#ifdef _WIN32
#include "ConsoleText.h"

void WriteSystemText(std::ostream& out, const SystemText& text)
{
    if (auto* console = dynamic_cast<ConsoleTextBuffer*>(out.rdbuf())) {
        console->PutWide(text);
        return;
    }
    out << NarrowText(text);
}
#else
void WriteSystemText(std::ostream& out, const SystemText& text) { out << text; }
#endif

void ReportWithSystemReason(std::ostream& err, const std::string& text, const SystemText& reason)
{
    err << "vantorctl: " << text;
    WriteSystemText(err, reason);
    err << "\n";
}
