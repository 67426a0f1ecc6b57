// The README's pictures: the committed ones must be what the game draws
// now, byte for byte, which pins the replay tool's scaled frames and its
// animation as well; and what the tool cannot follow is refused.
#include <gtest/gtest.h>

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
