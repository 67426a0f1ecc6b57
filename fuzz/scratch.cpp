#include "scratch.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path folder;

void Fail(const char* what) {
    std::perror(what);
    std::abort();
}

void RemoveFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Each input is written to a file before the loader reads it: in memory
// where the machine offers it, that costs microseconds instead of a disk
// write's milliseconds.
fs::path TemporaryFolder() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK | X_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

// The arguments that name files or folders: the inputs and corpora, and
// the options whose value is a path.
std::string Absolute(const std::string& argument) {
    if (argument.empty()) return argument;
    if (argument[0] != '-') return fs::absolute(argument).string();
    for (const char* option : {"-artifact_prefix=", "-exact_artifact_path=", "-dict=", "-features_dir="}) {
        const std::string prefix = option;
        if (argument.rfind(prefix, 0) == 0 && argument.size() > prefix.size()) {
            // A prefix ending in '/' names a folder; keep it one.
            std::string path = fs::absolute(argument.substr(prefix.size())).string();
            if (argument.back() == '/' && path.back() != '/') path += '/';
            return prefix + path;
        }
    }
    return argument;
}

}  // namespace

void EnterScratchFolder(int* argc, char*** argv, std::initializer_list<const char*> subfolders) {
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    for (int i = 0; i < *argc; ++i) arguments.push_back(i == 0 ? (*argv)[i] : Absolute((*argv)[i]));
    for (std::string& a : arguments) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    *argv = pointers.data();

    std::string pattern = (TemporaryFolder() / "tessaline-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
    folder = pattern;
    if (chdir(folder.c_str()) != 0) Fail("chdir");
    for (const char* sub : subfolders) fs::create_directories(sub);
    std::atexit(RemoveFolder);
}

void WriteInput(const char* path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) Fail(path);
    if (size != 0 && std::fwrite(data, 1, size, file) != size) Fail(path);
    if (std::fclose(file) != 0) Fail(path);
}
