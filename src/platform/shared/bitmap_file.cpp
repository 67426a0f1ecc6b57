// BMP files into the game's 0x00RRGGBB pixels.
#include "platform/shared/bitmap_file.h"

#include <bit>
#include <cstddef>

#include "platform/platform.h"

namespace platform {

namespace {

constexpr uint32_t Plain = 0, Runs8 = 1, Runs4 = 2, Masks = 3, AlphaMasks = 6;

uint32_t U16(const uint8_t* p) { return static_cast<uint32_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct Header {
    int64_t width = 0, height = 0;
    bool topFirst = false;
    uint32_t infoSize = 0, bits = 0, compression = 0, colours = 0;
    uint64_t pixelsAt = 0;
};

// Reads the header and weighs its claim. Decoding a header that lies costs
// the memory of the picture it claims, so the claim is weighed first:
// uncompressed rows must all be in the file; run-length data describes at
// most 255 pixels in every two bytes, and a picture that would need its
// skips to be larger than that is refused.
bool ReadHeader(const std::vector<uint8_t>& file, Header& h) {
    const size_t size = file.size();
    if (size < 26 || file[0] != 'B' || file[1] != 'M') return false;
    const uint8_t* info = file.data() + 14;
    h.infoSize = U32(info);
    if (h.infoSize == 12) {  // the old core header: 16-bit sides
        h.width = U16(info + 4);
        h.height = U16(info + 6);
        h.bits = U16(info + 10);
        h.compression = Plain;
    } else if (h.infoSize >= 40 && size >= 14 + 40) {
        h.width = static_cast<int32_t>(U32(info + 4));
        h.height = static_cast<int32_t>(U32(info + 8));  // negative: rows top first
        h.bits = U16(info + 14);
        h.compression = U32(info + 16);
        h.colours = U32(info + 32);
    } else {
        return false;
    }
    h.topFirst = h.height < 0;
    if (h.topFirst) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0 || h.width > MaxSurfaceSide || h.height > MaxSurfaceSide) return false;
    h.pixelsAt = U32(file.data() + 10);
    if (h.pixelsAt > size) return false;
    const uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
    if (h.compression == Runs8 || h.compression == Runs4) return pixels <= (size - h.pixelsAt) / 2 * 255;
    if (h.bits == 0 || h.bits > 32) return false;
    // Rows are padded to four bytes, the last one too.
    const uint64_t rowBytes = (static_cast<uint64_t>(h.width) * h.bits + 31) / 32 * 4;
    return rowBytes * static_cast<uint64_t>(h.height) <= size - h.pixelsAt;
}

// The colour layouts a BMP file may give its 16- and 32-bit pixels in: the
// ones paint programs write, whole bytes at 32 bits and 5-6-5 or 5-5-5 at
// 16, in either order. Others are refused, as the game always has.
struct Channel {
    uint32_t mask = 0;
    int shift = 0, width = 0;
    explicit Channel(uint32_t m) : mask(m), shift(m ? std::countr_zero(m) : 0), width(std::popcount(m)) {}
    // Widened to 8 bits the way pictures have always loaded: scaled by 255
    // over the channel's top, rounded down; but the green of 5-6-5 with red
    // on top, the common layout, four times over plus one every 24 steps,
    // so that its full green is 0xFE, as it always was.
    uint32_t Of(uint32_t v, bool commonGreen = false) const {
        const uint32_t c = (v & mask) >> shift;
        if (commonGreen) return c * 4 + c / 24;
        return width == 8 ? c : c * 255 / ((1u << width) - 1);
    }
};

bool LayoutKnown(uint32_t bits, const uint32_t (&masks)[3]) {
    const uint32_t all = masks[0] | masks[1] | masks[2];
    if ((masks[0] & masks[1]) | (masks[0] & masks[2]) | (masks[1] & masks[2])) return false;
    for (uint32_t m : masks) {
        const Channel c(m);
        // One run of at most 8 bits.
        if (m == 0 || c.width > 8 || m >> c.shift != (1u << c.width) - 1) return false;
        if (bits == 32 ? c.width != 8 || c.shift % 8 : c.width != 5 && c.width != 6) return false;
    }
    if (bits == 32) return true;
    // 5-6-5 or 5-5-5, red and blue at the two ends.
    return (all == 0xFFFF || all == 0x7FFF) && Channel(masks[1]).shift == 5 && Channel(masks[0]).width == 5 &&
           Channel(masks[2]).width == 5 && (masks[1] == 0x07E0 || masks[1] == 0x03E0);
}

// The palette's colours; an index past them reads as black, as it always
// has in a run-length picture. Colours the file is too short to hold read
// as white, byte by byte.
struct Palette {
    uint32_t colours[256] = {};
    uint32_t count = 0;
    uint32_t At(uint32_t index) const { return index < count ? colours[index] : 0; }
};

void ReadPalette(const std::vector<uint8_t>& file, const Header& h, Palette& palette) {
    const uint32_t most = 1u << h.bits;
    palette.count = h.colours == 0 || h.colours > most ? most : h.colours;
    const size_t entry = h.infoSize == 12 ? 3 : 4;
    const uint64_t at = 14 + static_cast<uint64_t>(h.infoSize);
    auto byte = [&](uint64_t i) -> uint32_t { return i < file.size() ? file[static_cast<size_t>(i)] : 0xFF; };
    for (uint32_t i = 0; i < palette.count; ++i) {
        const uint64_t p = at + static_cast<uint64_t>(i) * entry;
        palette.colours[i] = byte(p + 2) << 16 | byte(p + 1) << 8 | byte(p);
    }
}

// Run-length rows into palette indices, bottom row first as in the file.
// A run or skip past the picture's edge is cut there; pixels the runs never
// reach keep index 0. False when the data ends before its end-of-picture
// mark.
bool ReadRuns(const std::vector<uint8_t>& file, const Header& h, std::vector<uint8_t>& indices) {
    const size_t size = file.size();
    const bool nibbles = h.compression == Runs4;
    const int64_t w = h.width, rows = h.height;
    size_t at = static_cast<size_t>(h.pixelsAt);
    int64_t x = 0, y = 0;
    auto put = [&](uint8_t index) {
        if (x < w && y < rows) indices[static_cast<size_t>(y * w + x)] = index;
        ++x;
    };
    while (at + 2 <= size) {
        const uint32_t count = file[at], value = file[at + 1];
        at += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i)
                put(static_cast<uint8_t>(nibbles ? (i % 2 ? value & 0x0F : value >> 4) : value));
        } else if (value == 0) {  // end of row
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // skip right and up
            if (at + 2 > size) return false;
            x += file[at];
            y += file[at + 1];
            at += 2;
        } else {  // a run of literal indices, padded to a whole word
            const size_t bytes = nibbles ? (value + 1) / 2 : value;
            if (at + bytes > size) return false;
            for (uint32_t i = 0; i < value; ++i) {
                const uint8_t b = file[at + (nibbles ? i / 2 : i)];
                put(static_cast<uint8_t>(nibbles ? (i % 2 ? b & 0x0F : b >> 4) : b));
            }
            at += bytes + bytes % 2;
        }
    }
    return false;
}

}  // namespace

bool DecodeBitmap(const std::vector<uint8_t>& file, std::vector<uint32_t>& pixels, int& width, int& height) {
    Header h;
    if (!ReadHeader(file, h)) return false;
    const bool runs = h.compression == Runs8 || h.compression == Runs4;
    // Runs index a palette; any other compression the file names reads as
    // plain rows, masks aside.
    if (h.bits == 0 || (h.bits != 1 && h.bits != 2 && h.bits != 4 && h.bits % 8 != 0) || (runs && h.bits > 8))
        return false;

    const size_t w = static_cast<size_t>(h.width), rows = static_cast<size_t>(h.height);
    std::vector<uint32_t> out(w * rows);
    // The file's row y lands on picture row `Row(y)`.
    auto Row = [&](size_t y) { return h.topFirst ? y : rows - 1 - y; };

    if (h.bits <= 8) {
        Palette palette;
        ReadPalette(file, h, palette);
        std::vector<uint8_t> indices(w * rows);
        if (runs) {
            if (!ReadRuns(file, h, indices)) return false;
        } else {
            const size_t rowBytes = (w * h.bits + 31) / 32 * 4;
            const uint32_t perByte = 8 / h.bits, low = (1u << h.bits) - 1;
            for (size_t y = 0; y < rows; ++y) {
                const uint8_t* row = file.data() + h.pixelsAt + y * rowBytes;
                for (size_t x = 0; x < w; ++x) {
                    const uint32_t shift = 8 - h.bits * (x % perByte + 1);
                    indices[y * w + x] = static_cast<uint8_t>(row[x / perByte] >> shift & low);
                }
            }
        }
        for (size_t y = 0; y < rows; ++y)
            for (size_t x = 0; x < w; ++x) out[Row(y) * w + x] = palette.At(indices[y * w + x]);
    } else {
        uint32_t masks[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
        if (h.bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        if ((h.compression == Masks || h.compression == AlphaMasks) && h.bits != 24 && h.infoSize != 12) {
            // After a 40-byte header, or its own fields in a longer one.
            if (14 + 40 + 12 > file.size()) return false;
            uint32_t given[3];
            for (int c = 0; c < 3; ++c) given[c] = U32(file.data() + 14 + 40 + 4 * c);
            if (given[0] | given[1] | given[2]) {
                for (int c = 0; c < 3; ++c) masks[c] = given[c];
            } else if (h.bits == 16) {  // none given: 5-6-5
                masks[0] = 0xF800, masks[1] = 0x07E0;
            }
        }
        if (h.bits != 24 && !LayoutKnown(h.bits, masks)) return false;
        const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
        const bool commonGreen = masks[0] == 0xF800 && masks[1] == 0x07E0;
        const size_t bytes = h.bits / 8, rowBytes = (w * h.bits + 31) / 32 * 4;
        for (size_t y = 0; y < rows; ++y) {
            const uint8_t* row = file.data() + h.pixelsAt + y * rowBytes;
            uint32_t* to = out.data() + Row(y) * w;
            for (size_t x = 0; x < w; ++x) {
                const uint8_t* p = row + x * bytes;
                if (bytes == 3) {
                    to[x] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
                    continue;
                }
                const uint32_t v = bytes == 2 ? U16(p) : U32(p);
                to[x] = red.Of(v) << 16 | green.Of(v, commonGreen) << 8 | blue.Of(v);
            }
        }
    }
    pixels.swap(out);
    width = static_cast<int>(h.width);
    height = static_cast<int>(h.height);
    return true;
}

}  // namespace platform
