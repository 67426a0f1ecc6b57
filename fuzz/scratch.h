// What the harnesses of file loaders share: the loaders read by relative
// name from the current folder, so each harness works in a private folder
// of its own and writes every input to the name the loader asks for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

// Makes a fresh folder under the temporary folder, changes into it, makes
// the listed subfolders and removes it all when the harness exits. Aborts
// when it cannot: no input could reach the loader. Called from
// LLVMFuzzerInitialize with its arguments: libFuzzer reads its command line
// only afterwards, so the corpus folders, input files and artifact prefix
// given relative to where the harness was started are made absolute here.
void EnterScratchFolder(int* argc, char*** argv, std::initializer_list<const char*> subfolders = {});

// Writes the bytes as the file `path` (forward slashes), replacing it.
void WriteInput(const char* path, const uint8_t* data, size_t size);
