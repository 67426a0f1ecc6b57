// The test programs' entry: GoogleTest's, with the game (and the headless
// backend, where it is the one linked) put back to its start before every
// test.
#include <gtest/gtest.h>

#include "support/start_values.h"
#ifdef TESSALINE_HEADLESS
#include "platform/headless.h"
#endif

namespace {

struct FreshGame : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        RestoreStartValues();
#ifdef TESSALINE_HEADLESS
        platform::headless::Reset();
#endif
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    KeepStartValues();
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGame);
    return RUN_ALL_TESTS();
}
