// The WAV reader: the whole file is read into memory and walked with a
// small RIFF chunk reader. A chunk is a four-character id, a 32-bit
// little-endian size and that many bytes, padded to an even length.
#include <cstring>
#include <vector>

#include "app/shell.h"
#include "devices/sound.h"

using namespace platform;

namespace {

constexpr uint32_t FmtLongest = 18;  // the published format layout

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct Chunk {
    uint64_t contents;  // offset of the first byte after the header
    uint32_t size;
};

enum class Search { Found, NotFound, Broken };

// The offset after a chunk and its pad byte, kept within the parent.
uint64_t After(const Chunk& chunk, uint64_t parentEnd) {
    const uint64_t next = chunk.contents + chunk.size + (chunk.size & 1u);
    return next < parentEnd ? next : parentEnd;
}

// Looks for the RIFF chunk of form "WAVE" among the file's top-level
// chunks. Bytes that do not make a chunk mean the file is no WAVE file;
// a WAVE chunk that claims more than the file holds is a broken file.
Search FindWaveRiff(const std::vector<uint8_t>& bytes, Chunk& out) {
    const uint64_t end = bytes.size();
    uint64_t pos = 0;
    while (end - pos >= 8) {
        const uint8_t* header = bytes.data() + pos;
        const Chunk chunk{pos + 8, U32(header + 4)};
        const bool fits = chunk.size <= end - chunk.contents;
        const bool isWave = std::memcmp(header, "RIFF", 4) == 0 && chunk.size >= 4 && end - chunk.contents >= 4 &&
                            std::memcmp(header + 8, "WAVE", 4) == 0;
        if (isWave) {
            if (!fits) return Search::Broken;
            out = chunk;
            return Search::Found;
        }
        if (!fits) return Search::NotFound;
        pos = After(chunk, end);
    }
    return Search::NotFound;
}

// Looks for the chunk with this id from `from` to the end of the parent,
// skipping the others. Inside the RIFF chunk every size is checked: one
// that runs past the parent makes the file broken.
Search FindChunk(const std::vector<uint8_t>& bytes, uint64_t from, uint64_t parentEnd, const char* id, Chunk& out) {
    uint64_t pos = from;
    while (parentEnd - pos >= 8) {
        const uint8_t* header = bytes.data() + pos;
        const Chunk chunk{pos + 8, U32(header + 4)};
        if (chunk.size > parentEnd - chunk.contents) return Search::Broken;
        if (std::memcmp(header, id, 4) == 0) {
            out = chunk;
            return Search::Found;
        }
        pos = After(chunk, parentEnd);
    }
    return Search::NotFound;
}

bool Refuse(const char* text, const char* caption) {
    MessageBox(mainWindow, text, caption);
    return false;
}

constexpr const char* ReadFailed = "waveファイルの読み込みに失敗しました";

// The format as the published layout has it; bytes the chunk does not
// cover stay 0.
WaveFormat DecodeFormat(const uint8_t* chunkBytes, uint32_t size) {
    uint8_t raw[FmtLongest] = {};
    std::memcpy(raw, chunkBytes, size < FmtLongest ? size : FmtLongest);
    WaveFormat format{};
    format.formatTag = U16(raw + 0);
    format.channels = U16(raw + 2);
    format.samplesPerSec = U32(raw + 4);
    format.avgBytesPerSec = U32(raw + 8);
    format.blockAlign = U16(raw + 12);
    format.bitsPerSample = U16(raw + 14);
    format.extraSize = U16(raw + 16);
    return format;
}

}  // namespace

bool Read_WaveFile(const char* fileName, WaveData& wave) {
    std::vector<uint8_t> bytes;
    if (!ReadDataFile(fileName, bytes)) return Refuse(ReadFailed, "DSound!");

    Chunk riff{};
    const Search riffSearch = FindWaveRiff(bytes, riff);
    if (riffSearch == Search::Broken) return Refuse(ReadFailed, "DSound!");
    if (riffSearch == Search::NotFound) return Refuse("Wave形式のRIFFファイルではありません", "DSound!");
    const uint64_t riffEnd = riff.contents + riff.size;
    const uint64_t riffFirst = riff.contents + 4;  // after the form type

    Chunk fmt{};
    const Search fmtSearch = FindChunk(bytes, riffFirst, riffEnd, "fmt ", fmt);
    if (fmtSearch == Search::Broken) return Refuse(ReadFailed, "DSound!");
    if (fmtSearch == Search::NotFound) return Refuse("fmtチャンクが見つかりませんでした", "DSound!");
    if (fmt.size > FmtLongest) return Refuse("PCM以外の形式は使用できません", "Read_WaveFile!");
    wave.format = DecodeFormat(bytes.data() + fmt.contents, fmt.size);

    // The samples follow the format: "data" is looked for only after it.
    Chunk data{};
    const Search dataSearch = FindChunk(bytes, After(fmt, riffEnd), riffEnd, "data", data);
    if (dataSearch == Search::Broken) return Refuse(ReadFailed, "DSound!");
    if (dataSearch == Search::NotFound) return Refuse("dataチャンクが見つかりませんでした", "Read_WaveFile!");

    wave.size = data.size;
    wave.data = new uint8_t[data.size];
    std::memcpy(wave.data, bytes.data() + data.contents, data.size);
    return true;
}
