// The README's pictures: the committed ones must be what the game draws
// now, and the replay tool's scaled frames and animation must show, pixel
// for pixel, the frames the game drew.
#include <gtest/gtest.h>
#include <zlib.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int Shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

struct Scratch {
    fs::path path = fs::temp_directory_path() / ("tessaline-pictures-" + std::to_string(getpid()));
    Scratch() { fs::create_directories(path); }
    ~Scratch() { fs::remove_all(path); }
};

std::string Replay(const std::string& arguments) {
    return std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR + "\" --frames 320 --input \"" +
           TESSALINE_SOURCE_DIR + "/docs/pictures.input\" " + arguments + " 2>/dev/null";
}

uint32_t Big(const std::string& s, size_t at, int bytes = 4) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | static_cast<uint8_t>(s[at + i]);
    return v;
}

struct Chunk {
    std::string type, data;
};

std::vector<Chunk> Chunks(const std::string& file) {
    std::vector<Chunk> chunks;
    EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t size = Big(file, at);
        if (at + 12 + size > file.size()) break;
        const std::string typed = file.substr(at + 4, 4 + size);
        EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())),
                  Big(file, at + 8 + size));
        chunks.push_back({typed.substr(0, 4), typed.substr(4)});
        at += 12 + size;
    }
    return chunks;
}

// Inflated, filtered RGB rows back to pixels (0xRRGGBB), any of PNG's filters.
std::vector<uint32_t> Pixels(const std::string& deflated, int width, int height) {
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> raw((rowBytes + 1) * height);
    uLongf size = raw.size();
    EXPECT_EQ(uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(deflated.data()), deflated.size()), Z_OK);
    EXPECT_EQ(size, raw.size());
    std::vector<uint8_t> above(rowBytes, 0), row(rowBytes);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = raw.data() + (rowBytes + 1) * y;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
            const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predicted[5] = {0, a, b, (a + b) / 2, pa <= pb && pa <= pc ? a : pb <= pc ? b : c};
            EXPECT_LE(in[0], 4);
            row[i] = static_cast<uint8_t>(in[1 + i] + predicted[in[0] % 5]);
        }
        for (int x = 0; x < width; ++x) pixels.push_back(uint32_t{row[3 * x]} << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]);
        above = row;
    }
    return pixels;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

Picture Read(const fs::path& path) {
    Picture p;
    std::string data;
    for (const Chunk& c : Chunks(Bytes(path))) {
        if (c.type == "IHDR") p.width = static_cast<int>(Big(c.data, 0)), p.height = static_cast<int>(Big(c.data, 4));
        if (c.type == "IDAT") data += c.data;
    }
    p.pixels = Pixels(data, p.width, p.height);
    return p;
}

// Each frame of an animation as a viewer shows it: every frame's rectangle
// laid over what the frames before left.
std::vector<Picture> Frames(const fs::path& path) {
    std::vector<Picture> frames;
    Picture canvas;
    uint32_t announced = 0, sequence = 0;
    uint32_t x = 0, y = 0, w = 0, h = 0;
    std::string data;
    const auto lay = [&] {
        if (data.empty()) return;
        const std::vector<uint32_t> rect = Pixels(data, static_cast<int>(w), static_cast<int>(h));
        for (uint32_t row = 0; row < h; ++row)
            std::copy_n(rect.begin() + row * w, w, canvas.pixels.begin() + (y + row) * canvas.width + x);
        frames.push_back(canvas);
        data.clear();
    };
    for (const Chunk& c : Chunks(Bytes(path))) {
        if (c.type == "IHDR") {
            canvas.width = static_cast<int>(Big(c.data, 0));
            canvas.height = static_cast<int>(Big(c.data, 4));
            canvas.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height, 0);
        }
        if (c.type == "acTL") announced = Big(c.data, 0);
        if (c.type == "fcTL" || c.type == "fdAT") {
            EXPECT_EQ(Big(c.data, 0), sequence++) << "frame chunks in order";
        }
        if (c.type == "fcTL") {
            lay();
            w = Big(c.data, 4), h = Big(c.data, 8), x = Big(c.data, 12), y = Big(c.data, 16);
            EXPECT_LE(x + w, static_cast<uint32_t>(canvas.width));
            EXPECT_LE(y + h, static_cast<uint32_t>(canvas.height));
            EXPECT_EQ(Big(c.data, 20, 2) * 30, Big(c.data, 22, 2)) << "shown for a thirtieth of a second";
        }
        if (c.type == "IDAT") data += c.data;
        if (c.type == "fdAT") data += c.data.substr(4);
    }
    lay();
    EXPECT_EQ(frames.size(), announced);
    return frames;
}

}  // namespace

TEST(Pictures, TheCommittedPicturesAreWhatTheGameDrawsNow) {
    Scratch scratch;
    const fs::path docs = fs::path(TESSALINE_SOURCE_DIR) / "docs";
    ASSERT_EQ(Shell("sh \"" + (docs / "pictures.sh").string() + "\" \"" + TESSALINE_REPLAY + "\" \"" +
                  TESSALINE_DATA_DIR + "\" \"" + scratch.path.string() + "\""),
              0);
    const char* remedy = ": the game draws it differently now; run `make pictures` and commit the result";
    int made = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(scratch.path)) {
        const fs::path committed = docs / e.path().filename();
        EXPECT_TRUE(Bytes(committed) == Bytes(e.path())) << committed << remedy;
        ++made;
    }
    EXPECT_EQ(made, 7) << "fight, five strip frames and the exchange";
    for (const fs::directory_entry& e : fs::directory_iterator(docs)) {
        if (e.path().extension() != ".png") continue;
        EXPECT_TRUE(fs::exists(scratch.path / e.path().filename())) << e.path() << " is no longer made; remove it";
    }
}

// Frames 80 to 100 of the README's match: the title, where a band of the
// picture changes and one frame not at all, then the fade into the fight
// from Enter at 90, where every pixel changes. The animation is read back
// at 3x against the plain frames.
TEST(Pictures, ScaledFramesAndTheAnimationShowWhatTheGameDrew) {
    Scratch scratch;
    const fs::path plain = scratch.path / "plain", unscaled = scratch.path / "unscaled", tripled = scratch.path / "x3";
    const std::string at = " --at 80,82,84,86,88,90,92,94,96,98,100";
    ASSERT_EQ(Shell(Replay("--png \"" + plain.string() + "\"" + at)), 0);
    ASSERT_EQ(Shell(Replay("--scale 1 --png \"" + unscaled.string() + "\"" + at)), 0);
    ASSERT_EQ(Shell(Replay("--scale 3 --png \"" + tripled.string() + "\" --at 92 --apng 80-100 \"" +
                         (scratch.path / "anim.png").string() + "\"")),
              0);
    EXPECT_EQ(Bytes(plain / "frame-00092.png"), Bytes(unscaled / "frame-00092.png")) << "--scale 1 is the default";

    const Picture one = Read(plain / "frame-00092.png"), three = Read(tripled / "frame-00092.png");
    ASSERT_EQ(three.width, 960);
    ASSERT_EQ(three.height, 720);
    int wrong = 0;
    for (int y = 0; y < 720; ++y)
        for (int x = 0; x < 960; ++x) wrong += three.pixels[y * 960 + x] != one.pixels[y / 3 * 320 + x / 3];
    EXPECT_EQ(wrong, 0) << "each pixel a 3 x 3 block";

    const std::vector<Picture> frames = Frames(scratch.path / "anim.png");
    ASSERT_EQ(frames.size(), 11u);
    for (size_t k = 0; k < frames.size(); ++k) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05zu.png", 80 + 2 * k);
        const Picture drawn = Read(plain / name);
        wrong = 0;
        for (int y = 0; y < 720; ++y)
            for (int x = 0; x < 960; ++x) wrong += frames[k].pixels[y * 960 + x] != drawn.pixels[y / 3 * 320 + x / 3];
        EXPECT_EQ(wrong, 0) << name;
    }
}

// Bad values are refused with status 2; a game closed (Esc) inside the
// span leaves no half animation behind, and says so with status 1.
TEST(Pictures, ScalesAndSpansTheToolCannotFollowAreRefused) {
    Scratch scratch;
    const std::string file = " \"" + (scratch.path / "anim.png").string() + "\"";
    for (const std::string& bad : {std::string("--scale 0"), std::string("--scale 9"), std::string("--scale x"),
                                   "--apng 100-90" + file, "--apng 90-" + file, "--apng 300-400" + file}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Shell(Replay(bad)), 2);
    }
    EXPECT_FALSE(fs::exists(scratch.path / "anim.png"));
    const fs::path input = scratch.path / "esc.input";
    std::ofstream(input) << "1-5 ENTER\n60 ESC\n";
    EXPECT_EQ(Shell(std::string("\"") + TESSALINE_REPLAY + "\" --data \"" + TESSALINE_DATA_DIR + "\" --input \"" +
                    input.string() + "\" --apng 50-70" + file + " 2>/dev/null"),
              1);
    EXPECT_FALSE(fs::exists(scratch.path / "anim.png"));
}
