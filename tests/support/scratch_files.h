// A scratch folder of the test's own and the bytes of the data files a test
// writes into it.
#pragma once

#include <unistd.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// An empty folder, the current directory for as long as the object lives.
struct ScratchFolder {
    const std::filesystem::path before = std::filesystem::current_path(), path;
    explicit ScratchFolder(const std::string& name)
        : path(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(before);
        std::filesystem::remove_all(path);
    }
};

// A data file's bytes, every value little-endian.
struct FileBytes {
    std::vector<uint8_t> bytes;
    // A size past eight bytes pads the value with zeros (a run of zero bytes).
    FileBytes& Put(uint64_t v, int size) {
        for (int b = 0; b < size; ++b) bytes.push_back(b < 8 ? static_cast<uint8_t>(v >> (8 * b)) : 0);
        return *this;
    }
    FileBytes& Put(double v) { return Put(std::bit_cast<uint64_t>(v), 8); }
    FileBytes& Cut(size_t size) {
        bytes.resize(size);
        return *this;
    }
    // Writes the file by the game's name, backslashes as folders.
    void Write(std::string name) const {
        for (char& c : name) c = c == '\\' ? '/' : c;
        const std::filesystem::path folder = std::filesystem::path(name).parent_path();
        if (!folder.empty()) std::filesystem::create_directories(folder);
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};
