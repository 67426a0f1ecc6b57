// Data files and bitmaps, the same for every backend.
#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <string>

#include "platform/platform.h"
#include "platform/shared/bitmap_file.h"

namespace platform {

namespace {

// The game names its files with backslashes as folder separators.
std::string LocalPath(const char* name) {
    std::string path(name ? name : "");
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

}  // namespace

std::FILE* OpenDataFile(const char* name) {
    if (!name) return nullptr;
#ifdef _WIN32
    // Windows opens a pipe's name without waiting, and refuses a folder;
    // only a regular file is a data file all the same.
    const std::string path = LocalPath(name);
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    return std::fopen(path.c_str(), "rb");
#else
    // Not blocking on the open: a pipe in place of a data file would wait
    // for a writer forever. Only a regular file is a data file; a folder
    // opens here but would read as nothing, unseen.
    const int fd = ::open(LocalPath(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) ::close(fd);
    return file;
#endif
}

bool ReadDataFile(const char* name, std::vector<uint8_t>& bytes) {
    std::FILE* file = OpenDataFile(name);
    if (!file) return false;
    uint8_t block[8192];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool LoadBitmapFile(const char* name, std::vector<uint32_t>& pixels, int& width, int& height) {
    std::vector<uint8_t> file;
    return ReadDataFile(name, file) && DecodeBitmap(file, pixels, width, height);
}

}  // namespace platform
