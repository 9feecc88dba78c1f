// Atomic files where the system has POSIX files: the reason of a failure is errno's.
#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

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

bool WriteAndFlush(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    return std::fclose(file) == 0 && written;
}

}  // namespace

FileOutcome WriteFileAtomically(const SystemPath& path, const std::vector<uint8_t>& bytes)
{
    errno = 0;
    const std::string temporary = path + ".partial";
    if (WriteAndFlush(temporary, bytes) && std::rename(temporary.c_str(), path.c_str()) == 0 && FlushFolderOf(path))
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
