// The headless test programs' entry: GoogleTest's, with the game put back
// to its start values before every test.
#include <gtest/gtest.h>

#include "support/start_values.h"

namespace {

struct FreshGame : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { RestoreStartValues(); }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    KeepStartValues();
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshGame);
    return RUN_ALL_TESTS();
}
