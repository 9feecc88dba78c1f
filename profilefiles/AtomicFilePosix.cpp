// Atomic files where the system has POSIX files: the reason of a failure is errno's.
#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include "TemporaryName.h"

namespace {

FileOutcome Done() { return {true, {}}; }

FileOutcome Failed() { return {false, errno ? std::string(": ") + std::strerror(errno) : std::string()}; }

// The rename lives in the folder's entry list: it survives a crash only once the folder
// itself is on the disk.
bool FlushFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int descriptor = open(folder.c_str(), O_RDONLY);
    if (descriptor < 0) return false;
    const bool flushed = fsync(descriptor) == 0;
    close(descriptor);
    return flushed;
}

// A new file of the write's own beside `target` (its name in `name`), opened for writing;
// -1 when none could be made.
int CreateOwnFile(const std::string& target, std::string& name)
{
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        name = TemporaryNameBeside(target, "partial");
        const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

bool WriteAndFlush(int descriptor, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(descriptor, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        done += size_t(written);
    }
    const bool flushed = done == bytes.size() && fsync(descriptor) == 0;
    return close(descriptor) == 0 && flushed;
}

}  // namespace

// Only the temporary file that this write created is ever removed.
FileOutcome WriteFileAtomically(const SystemPath& path, const std::vector<uint8_t>& bytes)
{
    errno = 0;
    std::string temporary;
    const int descriptor = CreateOwnFile(path, temporary);
    if (descriptor < 0) return Failed();
    if (WriteAndFlush(descriptor, bytes) && std::rename(temporary.c_str(), path.c_str()) == 0 && FlushFolderOf(path))
        return Done();
    const FileOutcome failed = Failed();
    std::remove(temporary.c_str());
    return failed;
}

FileOutcome ReadFileStart(const SystemPath& path, size_t limit, std::vector<uint8_t>& bytes)
{
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return Failed();
    bytes.resize(limit);
    bytes.resize(std::fread(bytes.data(), 1, limit, file));
    const FileOutcome read = std::ferror(file) ? Failed() : Done();
    std::fclose(file);
    return read;
}
