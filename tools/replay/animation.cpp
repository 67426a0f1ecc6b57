// The animated PNG: a PNG whose first frame is the picture itself, with an
// animation control chunk before it, and each later frame a frame control
// chunk (where, how long) and frame data chunks (the changed rectangle).
#include "animation.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(Animation& a, const char (&type)[5], const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes;
    PutU32(bytes, static_cast<uint32_t>(data.size()));
    bytes.insert(bytes.end(), type, type + 4);
    bytes.insert(bytes.end(), data.begin(), data.end());
    PutU32(bytes, static_cast<uint32_t>(crc32(0L, bytes.data() + 4, static_cast<uInt>(bytes.size() - 4))));
    a.ok = a.ok && std::fwrite(bytes.data(), 1, bytes.size(), a.file) == bytes.size();
}

struct Rect {
    int x, y, width, height;
};

// The smallest rectangle holding every pixel that differs from the frame
// before; an unchanged frame still needs one pixel to stand for it.
Rect Changed(const Animation& a, const uint32_t* pixels) {
    int left = a.width, right = -1, top = a.height, bottom = -1;
    for (int y = 0; y < a.height; ++y) {
        const uint32_t* now = pixels + static_cast<ptrdiff_t>(y) * a.width;
        const uint32_t* before = a.last.data() + static_cast<ptrdiff_t>(y) * a.width;
        for (int x = 0; x < a.width; ++x) {
            if (now[x] == before[x]) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    if (right < 0) return {0, 0, 1, 1};
    return {left, top, right - left + 1, bottom - top + 1};
}

// Paeth's predictor: of the bytes to the left, above and above-left, the
// one nearest to left + above - above-left.
uint8_t Predicted(int left, int up, int upLeft) {
    const int p = left + up - upLeft, toLeft = std::abs(p - left), toUp = std::abs(p - up), toUpLeft = std::abs(p - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
    return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// The rectangle's rows as PNG image data, deflated: each row with the Paeth
// filter (each byte less its prediction from its neighbours), which turns
// the repeated pixels of a scaled picture and the flat floor and sky into
// runs of zeros. Of the filters it made the smallest fights.
std::vector<uint8_t> ImageData(const Animation& a, const uint32_t* pixels, Rect r) {
    const size_t rowBytes = static_cast<size_t>(r.width) * 3;
    std::vector<uint8_t> rows((rowBytes + 1) * static_cast<size_t>(r.height));
    std::vector<uint8_t> above(rowBytes, 0), row(rowBytes);
    for (int y = 0; y < r.height; ++y) {
        const uint32_t* from = pixels + static_cast<ptrdiff_t>(r.y + y) * a.width + r.x;
        for (int x = 0; x < r.width; ++x) {
            row[3 * static_cast<size_t>(x)] = static_cast<uint8_t>(from[x] >> 16);
            row[3 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(from[x] >> 8);
            row[3 * static_cast<size_t>(x) + 2] = static_cast<uint8_t>(from[x]);
        }
        uint8_t* to = rows.data() + (rowBytes + 1) * static_cast<size_t>(y);
        to[0] = 4;  // Paeth
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= 3 ? row[i - 3] : 0, upLeft = i >= 3 ? above[i - 3] : 0;
            to[1 + i] = static_cast<uint8_t>(row[i] - Predicted(left, above[i], upLeft));
        }
        above.swap(row);
    }
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(size);
    return packed;
}

void PutFrameControl(Animation& a, Rect r) {
    std::vector<uint8_t> control;
    PutU32(control, a.sequence++);
    PutU32(control, static_cast<uint32_t>(r.width));
    PutU32(control, static_cast<uint32_t>(r.height));
    PutU32(control, static_cast<uint32_t>(r.x));
    PutU32(control, static_cast<uint32_t>(r.y));
    PutU16(control, 1);  // shown for 1 / perSecond of a second
    PutU16(control, static_cast<uint32_t>(a.perSecond));
    control.insert(control.end(), {0, 0});  // left in place for the next frame, which replaces its rectangle
    PutChunk(a, "fcTL", control);
}

}  // namespace

bool StartAnimation(Animation& a, const std::string& path, int width, int height, int frames, int perSecond) {
    a = Animation{};
    a.file = std::fopen(path.c_str(), "wb");
    if (!a.file) return false;
    a.path = path;
    a.width = width;
    a.height = height;
    a.framesLeft = frames;
    a.perSecond = perSecond;
    static const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    a.ok = std::fwrite(signature, 1, sizeof signature, a.file) == sizeof signature;
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits a channel, RGB, deflate, filtered rows, no interlace
    PutChunk(a, "IHDR", header);
    std::vector<uint8_t> control;
    PutU32(control, static_cast<uint32_t>(frames));
    PutU32(control, 0);  // played forever
    PutChunk(a, "acTL", control);
    return true;
}

void AddAnimationFrame(Animation& a, const uint32_t* pixels) {
    if (!a.file || a.framesLeft <= 0) {
        a.ok = false;
        return;
    }
    const bool first = a.last.empty();
    const Rect r = first ? Rect{0, 0, a.width, a.height} : Changed(a, pixels);
    PutFrameControl(a, r);
    const std::vector<uint8_t> data = ImageData(a, pixels, r);
    a.ok = a.ok && !data.empty();
    if (first) {
        PutChunk(a, "IDAT", data);
    } else {
        std::vector<uint8_t> numbered;
        PutU32(numbered, a.sequence++);
        numbered.insert(numbered.end(), data.begin(), data.end());
        PutChunk(a, "fdAT", numbered);
    }
    a.last.assign(pixels, pixels + static_cast<ptrdiff_t>(a.width) * a.height);
    --a.framesLeft;
}

bool FinishAnimation(Animation& a) {
    if (!a.file) return false;
    PutChunk(a, "IEND", {});
    const bool ok = std::fclose(a.file) == 0 && a.ok && a.framesLeft == 0;
    a.file = nullptr;
    if (!ok) std::remove(a.path.c_str());
    return ok;
}
