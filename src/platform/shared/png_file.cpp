// Frames as PNG files: 8-bit RGB rows, each with the plain filter, deflated
// through zlib into as many data chunks as the picture needs.
#include <zlib.h>

#include <cstddef>
#include <cstdio>
#include <vector>

#include "platform/platform.h"

namespace platform {

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// One chunk: its length, type, data and the CRC of type and data.
bool WriteChunk(std::FILE* file, const char (&type)[5], const uint8_t* data, size_t size) {
    std::vector<uint8_t> head;
    PutU32(head, static_cast<uint32_t>(size));
    head.insert(head.end(), type, type + 4);
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
    if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
    std::vector<uint8_t> tail;
    PutU32(tail, static_cast<uint32_t>(crc));
    return std::fwrite(head.data(), 1, head.size(), file) == head.size() &&
           (size == 0 || std::fwrite(data, 1, size, file) == size) &&
           std::fwrite(tail.data(), 1, tail.size(), file) == tail.size();
}

// The deflated rows, a data chunk written whenever the output buffer fills
// and one more for what is left at the end.
bool WriteRows(std::FILE* file, const uint32_t* pixels, int width, int height, int pitch) {
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK) return false;
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3 + 1), chunk(1 << 16);
    z.next_out = chunk.data();
    z.avail_out = static_cast<uInt>(chunk.size());
    bool ok = true;
    int status = Z_OK;
    for (int y = 0; y <= height && ok && status != Z_STREAM_END; ++y) {
        const bool last = y == height;
        if (!last) {
            const uint32_t* from = pixels + static_cast<ptrdiff_t>(y) * pitch;
            row[0] = 0;  // no filter
            for (int x = 0; x < width; ++x) {
                row[1 + 3 * static_cast<size_t>(x)] = static_cast<uint8_t>(from[x] >> 16);
                row[2 + 3 * static_cast<size_t>(x)] = static_cast<uint8_t>(from[x] >> 8);
                row[3 + 3 * static_cast<size_t>(x)] = static_cast<uint8_t>(from[x]);
            }
            z.next_in = row.data();
            z.avail_in = static_cast<uInt>(row.size());
        }
        // Until the row is taken in, or at the end until the stream closes.
        while (ok && (z.avail_in > 0 || (last && status != Z_STREAM_END))) {
            status = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR) ok = false;
            const size_t got = chunk.size() - z.avail_out;
            if (ok && (z.avail_out == 0 || status == Z_STREAM_END) && got > 0) {
                ok = WriteChunk(file, "IDAT", chunk.data(), got);
                z.next_out = chunk.data();
                z.avail_out = static_cast<uInt>(chunk.size());
            }
        }
    }
    deflateEnd(&z);
    return ok;
}

}  // namespace

bool WritePng(const char* path, const uint32_t* pixels, int width, int height, int pitch) {
    // A row as deflate takes it in one go: 3 bytes a pixel and the filter.
    if (!path || !pixels || width <= 0 || height <= 0 || width > (1 << 28)) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits a channel, RGB, deflate, no filter choice, no interlace
    bool ok = std::fwrite(signature, 1, sizeof signature, file) == sizeof signature &&
              WriteChunk(file, "IHDR", header.data(), header.size()) && WriteRows(file, pixels, width, height, pitch) &&
              WriteChunk(file, "IEND", nullptr, 0);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::remove(path);
    return ok;
}

}  // namespace platform
