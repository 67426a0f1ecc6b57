// The build-pose stills, hashed: a change of any pixel in any mode shows
// here and has to be taken into still_hashes.txt on purpose.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "figure_setup.h"
#include "replay/still.h"

namespace {

TEST(Stills, MatchTheCommittedHashes) {
    std::ifstream file(TESSALINE_SOURCE_DIR "/tests/figure/still_hashes.txt");
    ASSERT_TRUE(file) << "no still_hashes.txt";
    std::stringstream committed, computed;
    committed << file.rdbuf();
    const std::vector<StillHash> hashes = HashStills(TESSALINE_DATA_DIR);
    ASSERT_EQ(hashes.size(), 15u);
    for (const StillHash& h : hashes) {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h.hash));
        computed << h.name << ' ' << hex << '\n';
    }
    EXPECT_EQ(computed.str(), committed.str());
}

}  // namespace
