// Data files, bitmaps and PNG output, the same for both backends.
#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "platform/platform.h"

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

uint32_t U16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Whether a BMP file's header describes a picture a surface can hold and
// that its file can describe. Decoding a header that lies costs the memory
// of the picture it claims, so the claim is weighed first: uncompressed
// rows must all be in the file; run-length data describes at most 255
// pixels in every two bytes, and a picture that would need its skips to be
// larger than that is refused.
bool BitmapHeaderFits(const std::vector<uint8_t>& file) {
    const size_t size = file.size();
    if (size < 26 || file[0] != 'B' || file[1] != 'M') return false;
    const uint8_t* info = file.data() + 14;
    const uint32_t infoSize = U32(info);
    int64_t width, height;
    uint32_t bits, compression;
    if (infoSize == 12) {  // the old core header: 16-bit sides
        width = U16(info + 4);
        height = U16(info + 6);
        bits = U16(info + 10);
        compression = 0;
    } else if (infoSize >= 40 && size >= 14 + 40) {
        width = static_cast<int32_t>(U32(info + 4));
        height = static_cast<int32_t>(U32(info + 8));  // negative: rows top first
        bits = U16(info + 14);
        compression = U32(info + 16);
    } else {
        return false;
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > MaxSurfaceSide || height > MaxSurfaceSide) return false;
    const uint64_t pixelsAt = U32(file.data() + 10);
    if (pixelsAt > size) return false;
    const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (compression == 1 || compression == 2) return pixels <= (size - pixelsAt) / 2 * 255;
    if (bits == 0 || bits > 32) return false;
    // Rows are padded to four bytes, the last one too.
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    return rowBytes * static_cast<uint64_t>(height) <= size - pixelsAt;
}

}  // namespace

std::FILE* OpenDataFile(const char* name) {
    if (!name) return nullptr;
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
    if (!ReadDataFile(name, file) || file.size() > INT_MAX || !BitmapHeaderFits(file)) return false;
    SDL_Surface* loaded = SDL_LoadBMP_RW(SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())), 1);
    if (!loaded) return false;
    std::vector<uint8_t>().swap(file);
    SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_XRGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!converted) return false;
    if (SDL_LockSurface(converted) != 0) {
        SDL_FreeSurface(converted);
        return false;
    }
    const int w = converted->w;
    const int h = converted->h;
    std::vector<uint32_t> out(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(converted->pixels) +
                                                            static_cast<size_t>(y) * converted->pitch);
        for (int x = 0; x < w; ++x) out[static_cast<size_t>(y) * w + x] = row[x] & 0x00FFFFFF;
    }
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    pixels.swap(out);
    width = w;
    height = h;
    return true;
}

bool WritePng(const char* path, const uint32_t* pixels, int width, int height, int pitch) {
    if (!path || !pixels || width <= 0 || height <= 0) return false;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888);
    if (!surface) return false;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) +
                                                static_cast<size_t>(y) * surface->pitch);
        for (int x = 0; x < width; ++x) row[x] = pixels[static_cast<size_t>(y) * pitch + x] | 0xFF000000u;
    }
    const bool ok = IMG_SavePNG(surface, path) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

}  // namespace platform
