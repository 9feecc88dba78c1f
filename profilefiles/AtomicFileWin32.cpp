// Atomic files on Windows: paths of any length (absolute and marked \\?\ where MAX_PATH
// would stop them), an existing file replaced in place with its attributes and
// permissions, and the system's last error in the user's language as the reason.
#include "AtomicFile.h"

#include <windows.h>

#include <algorithm>

#include "TemporaryName.h"

namespace {

FileOutcome Done() { return {true, {}}; }

LANGID g_reasonLanguage = 0;

bool EndsAMessage(wchar_t c) { return c == L'\r' || c == L'\n' || c == L' ' || c == L'.' || c == L'\u3002'; }

// The system's words for `error`, without the line end and full stop that close them:
// messages put them inside their own sentences.
FileOutcome Failed(DWORD error)
{
    wchar_t* words = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length = FormatMessageW(flags, nullptr, error, g_reasonLanguage, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
    std::wstring text(words ? words : L"", length);
    LocalFree(words);
    while (!text.empty() && EndsAMessage(text.back())) text.pop_back();
    return {false, L": " + (text.empty() ? L"error " + std::to_wstring(error) : text)};
}

bool StartsWith(const std::wstring& text, const wchar_t* start) { return text.rfind(start, 0) == 0; }

// A new file of the write's own beside `target` (its name in `name`), opened for writing
// and created exclusively, so that a file of the user's is never taken over.
HANDLE CreateOwnFile(const SystemPath& target, const char* ending, SystemPath& name)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = TemporaryNameBeside(target, ending);
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        const DWORD error = GetLastError();
        if (file != INVALID_HANDLE_VALUE || (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)) return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Writes `bytes` into the open `file`, flushes them to the disk and closes it.
FileOutcome WriteAndFlush(HANDLE file, const std::vector<uint8_t>& bytes)
{
    DWORD written = 0;
    const bool flushed = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                         written == bytes.size() && FlushFileBuffers(file);
    const FileOutcome outcome = flushed ? Done() : Failed(GetLastError());
    CloseHandle(file);
    return outcome;
}

// A name beside `target` that no file has, for ReplaceFileW to move the old file to: made
// by creating a file of it exclusively, then freed again, since Windows may refuse to move
// a file over an existing one.
bool ReserveBackupName(const SystemPath& target, SystemPath& name)
{
    const HANDLE file = CreateOwnFile(target, "replaced", name);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return DeleteFileW(name.c_str());
}

// Puts the written `partial` in the place of `target`. ReplaceFileW keeps an existing
// target's attributes and permissions (the attributes are set again for Wine's, which
// drops them); where it fails after moving the old file aside, the old file goes back
// under its name.
FileOutcome PutInPlace(const SystemPath& partial, const SystemPath& target)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) ? Done() : Failed(GetLastError());
    SystemPath replaced;
    if (!ReserveBackupName(target, replaced)) return Failed(GetLastError());
    if (ReplaceFileW(target.c_str(), partial.c_str(), replaced.c_str(), 0, nullptr, nullptr)) {
        SetFileAttributesW(target.c_str(), attributes);
        DeleteFileW(replaced.c_str());
        return Done();
    }
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(replaced.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    return Failed(error);
}

}  // namespace

// Only the temporary file that this write created is ever removed.
void SetReasonLanguage(unsigned short language) { g_reasonLanguage = language; }

FileOutcome WriteFileAtomically(const SystemPath& path, const std::vector<uint8_t>& bytes)
{
    const SystemPath target = LongPathForm(path);
    SystemPath partial;
    const HANDLE file = CreateOwnFile(target, "partial", partial);
    if (file == INVALID_HANDLE_VALUE) return Failed(GetLastError());
    FileOutcome outcome = WriteAndFlush(file, bytes);
    if (outcome) outcome = PutInPlace(partial, target);
    if (!outcome) DeleteFileW(partial.c_str());
    return outcome;
}

FileOutcome ReadFileStart(const SystemPath& path, size_t limit, std::vector<uint8_t>& bytes)
{
    const HANDLE file = CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Failed(GetLastError());
    bytes.resize(limit);
    size_t done = 0;
    DWORD read = 0;
    bool readable = true;
    do {
        const DWORD asked = static_cast<DWORD>(std::min<size_t>(limit - done, 1 << 20));
        readable = ReadFile(file, bytes.data() + done, asked, &read, nullptr);
        done += readable ? read : 0;
    } while (readable && read > 0 && done < limit);
    const FileOutcome outcome = readable ? Done() : Failed(GetLastError());
    CloseHandle(file);
    bytes.resize(done);
    return outcome;
}

SystemPath LongPathForm(const SystemPath& path)
{
    if (StartsWith(path, L"\\\\?\\") || StartsWith(path, L"\\\\.\\")) return path;
    std::wstring full(GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty()) return path;
    full.resize(GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.size() + kLongestTemporarySuffix < MAX_PATH) return path;
    return StartsWith(full, L"\\\\") ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}
