// The game's motions as the data maker writes them: key files the loader
// and the playback can follow.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "combat/playback.h"
#include "figure/motion_file.h"

namespace {

std::string MotionName(int motion) {
    const std::string pattern = motionFiles[motion].pattern;
    const size_t first = pattern.find('\\');
    return pattern.substr(first + 1, pattern.find('\\', first + 1) - first - 1);
}

uint32_t Little(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

TEST(Motions, EveryKeyFileIsOneThePlaybackCanFollow) {
    for (int m = 0; m < MotionCount; ++m) {
        SCOPED_TRACE(MotionName(m));
        const int keys = motionFiles[m].keys;
        std::vector<std::vector<uint8_t>> files;
        for (int k = 0; k <= keys; ++k) {
            std::ifstream file(std::string(TESSALINE_DATA_DIR) + "/Motion/" + MotionName(m) + "/Motion" +
                                   std::to_string(k) + ".deg",
                               std::ios::binary);
            files.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
        EXPECT_TRUE(files[keys].empty()) << "a key beyond the motion's count";
        for (int k = 0; k < keys; ++k) {
            SCOPED_TRACE(k);
            const std::vector<uint8_t>& bytes = files[k];
            ASSERT_EQ(bytes.size(), 12u + 15u * 32u);
            EXPECT_EQ(Little(bytes, 0, 2), 15u);
            const uint32_t flags = Little(bytes, 4, 4);
            EXPECT_EQ(flags & ~(Loop | End), 0u) << "unknown key flags";
            EXPECT_GE(Little(bytes, 10, 2), static_cast<uint32_t>(keys)) << "the playback divides it by the key count";
            if (flags & End) {
                ASSERT_LT(k + 1, keys) << "End on the last key";
                ASSERT_EQ(files[k + 1].size(), bytes.size());
                EXPECT_GE(Little(files[k + 1], 10, 2), BlendFrames - 1u) << "the blend would outlast the key after End";
            }
            for (size_t e = 12; e < bytes.size(); e += 32) {
                for (int a = 0; a < 3; ++a) EXPECT_LT(Little(bytes, e + 2 * a, 2), 512u) << "an angle past one turn";
                // Equal positions in every key: the playback never moves a joint.
                for (size_t p = e + 8; p < e + 32; ++p) EXPECT_EQ(bytes[p], 0) << "a position other than 0.0";
            }
        }
    }
}

}  // namespace
