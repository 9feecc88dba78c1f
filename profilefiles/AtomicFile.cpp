#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool FlushToDisk(std::FILE* file)
{
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

#ifdef _WIN32
bool ReplaceFile(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
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

bool ReplaceFile(const std::string& from, const std::string& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 && FlushFolderOf(to);
}
#endif

bool WriteAndFlush(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = written && FlushToDisk(file);
    return std::fclose(file) == 0 && written;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    errno = 0;
    const std::string temporary = path + ".partial";
    if (WriteAndFlush(temporary, bytes) && ReplaceFile(temporary, path)) return true;
    const int reason = errno;
    std::remove(temporary.c_str());
    errno = reason;
    return false;
}

bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes)
{
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.resize(limit);
    bytes.resize(std::fread(bytes.data(), 1, limit, file));
    const bool read = !std::ferror(file);
    std::fclose(file);
    return read;
}

std::string FileErrorReason()
{
    return errno ? std::string(": ") + std::strerror(errno) : std::string();
}
