#include "CommandSession.h"

#include <set>

#include "SystemTextOutput.h"

namespace {

std::string BlockText(int block)
{
    return "block " + std::to_string(block) + (block == kHeaderBlock ? " (header)" : "");
}

}  // namespace

Session::Session(AdapterPort& port, CtlOutput output, Interruption* interruption)
    : m_output(output),
      m_interruption(interruption),
      m_progress(port, [this](unsigned pauses) { ShowWriteProgress(pauses); }),
      m_link(m_progress)
{
}

// On a terminal, how many blocks a write has written: it spends its time in the two
// pauses of each block.
void Session::ShowWriteProgress(unsigned pauses)
{
    if (!m_output.showProgress || pauses % 2 != 0) return;
    m_output.err << "\rblocks written: " << pauses / 2 << std::flush;
    m_progressShown = true;
}

int Session::Load(std::vector<uint8_t>& image)
{
    uint8_t* records = nullptr;
    const bool loaded = m_link.LoadConfig(&records);
    if (EndRequested()) return Error("interrupted; nothing was written", kCtlInterrupted);
    if (loaded) {
        image = m_link.Image();
        return kCtlOk;
    }
    if (m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
    return Error("reading the configuration failed: a transfer with the adapter failed", kCtlTransferFailed);
}

int Session::Write(const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored, const std::string& what)
{
    if (m_interruption && !m_interruption->BeginWrite()) return Error("interrupted; nothing was written", kCtlInterrupted);
    const bool saved = WriteAndReadBack(image, stored);
    if (m_interruption) m_interruption->EndWrite();
    if (m_progressShown) m_output.err << "\n";
    if (saved && EndRequested())
        return Error("interrupted after the write in progress was finished: the adapter holds " + what +
                         ", every block read back",
                     kCtlInterrupted);
    if (saved) return kCtlOk;
    if (m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
    std::set<int> faulty;
    if (m_link.SavedBlockCount() < kBlockCount) {
        faulty.insert(m_link.SavedBlockCount());
        Report("writing " + BlockText(m_link.SavedBlockCount()) + " failed; the blocks after it were not written");
    }
    for (const BlockFault& fault : m_link.Faults()) {
        faulty.insert(fault.block);
        Report(BlockText(fault.block) + (fault.unreadable ? " cannot be read back" : " differs from " + what));
    }
    return Error("the adapter does not hold " + what + " exactly: " + std::to_string(faulty.size()) + " of " +
                     std::to_string(kBlockCount) + " blocks failed or differ",
                 kCtlNotRestored);
}

bool Session::WriteAndReadBack(const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored)
{
    m_link.ReplaceImage(image.data());
    return stored.empty() ? m_link.SaveWhole() : m_link.SaveChanges(stored);
}

void Session::Report(const std::string& message) { m_output.err << "vantorctl: " << message << "\n"; }

int Session::Error(const std::string& message, int status)
{
    Report(message);
    return status;
}

int Session::FileFailure(const std::string& text, const SystemText& reason)
{
    ReportWithSystemReason(m_output.err, text, reason);
    return kCtlFileError;
}

int Session::Refuse(const std::vector<std::string>& problems)
{
    for (const std::string& problem : problems) Report(problem);
    Report("nothing written");
    return kCtlFileError;
}
