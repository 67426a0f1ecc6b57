// tessaline-data OUTDIR [--assets DIR]: writes the game's data tree.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "data/writers.h"

#ifndef TESSALINE_ASSETS_DIR
#define TESSALINE_ASSETS_DIR "assets"
#endif

bool WriteDataFile(const DataPaths& paths, const std::string& relative, const void* bytes, size_t size) {
    const std::filesystem::path target = std::filesystem::path(paths.out) / relative;
    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::fprintf(stderr, "tessaline-data: cannot write %s\n", target.c_str());
        return false;
    }
    file.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    if (!file) {
        std::fprintf(stderr, "tessaline-data: writing %s failed\n", target.c_str());
        return false;
    }
    return true;
}

int main(int argc, char** argv) {
    DataPaths paths{TESSALINE_ASSETS_DIR, ""};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--assets") == 0 && i + 1 < argc) {
            paths.assets = argv[++i];
        } else if (paths.out.empty() && argv[i][0] != '-') {
            paths.out = argv[i];
        } else {
            paths.out.clear();
            break;
        }
    }
    if (paths.out.empty()) {
        std::fprintf(stderr, "usage: tessaline-data OUTDIR [--assets DIR]\n");
        return 2;
    }
    bool ok = WriteSineTable(paths);
    ok = WriteBitmaps(paths) && ok;
    ok = WriteMotions(paths) && ok;
    ok = WriteSounds(paths) && ok;
    ok = WriteMusic(paths) && ok;
    return ok ? 0 : 1;
}
