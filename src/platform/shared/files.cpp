// Data files, bitmaps and PNG output, the same for both backends.
#include <SDL.h>
#include <SDL_image.h>

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

}  // namespace

std::FILE* OpenDataFile(const char* name) {
    if (!name) return nullptr;
    return std::fopen(LocalPath(name).c_str(), "rb");
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
    if (!name) return false;
    SDL_Surface* loaded = SDL_LoadBMP(LocalPath(name).c_str());
    if (!loaded) return false;
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
