// What every vantorctl command shares: the link to the adapter, the output, and how a
// failure is told and turned into an exit status.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AdapterLink.h"
#include "Commands.h"
#include "ProgressPort.h"
#include "SystemPath.h"

class Session {
public:
    // `interruption`, when given, may ask the run to end: a write that began is finished,
    // then the run ends with kCtlInterrupted.
    Session(AdapterPort& port, CtlOutput output, Interruption* interruption = nullptr);

    const CtlOutput& Output() const { return m_output; }

    // The whole configuration into `image`; a status other than kCtlOk after the error
    // has been reported (kCtlInterrupted when the run was asked to end meanwhile).
    int Load(std::vector<uint8_t>& image);
    // Writes what `image` changes of `stored`, the configuration that Load just read, and
    // reads every block back (the link falls back to writing everything when the adapter
    // does not hold the changes); an empty `stored` (Load could not read the adapter)
    // writes every block. A status other than kCtlOk after each block that failed or
    // differs has been named; `what` names the image in the message. Asked to end, it
    // begins no write, and ends one that began before it returns kCtlInterrupted.
    int Write(const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored, const std::string& what);

    // One line on the error output, led by "vantorctl: ".
    void Report(const std::string& message);
    int Error(const std::string& message, int status);
    // "vantorctl: TEXT" and the system's `reason`, as it gives it: a file that cannot be
    // read or written (kCtlFileError).
    int FileFailure(const std::string& text, const SystemText& reason);
    // Each problem, then that nothing was written: a file, a name or a header refused.
    int Refuse(const std::vector<std::string>& problems);

private:
    void ShowWriteProgress(unsigned pauses);
    bool EndRequested() const { return m_interruption && m_interruption->Requested(); }
    bool WriteAndReadBack(const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored);

    CtlOutput m_output;
    Interruption* m_interruption;
    ProgressPort m_progress;
    CAdapterLink m_link;
    bool m_progressShown = false;
};
