// Data tests of the game's motions: what the built key files hold, and how
// the game's own playback carries them through a fight.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "combat/fighter.h"
#include "combat/playback.h"
#include "figure/math.h"
#include "figure/model.h"
#include "figure/motion_file.h"
#include "figure/transform.h"
#include "support/game_harness.h"

namespace {

constexpr int WinnerSceneFrames = 43;
// The victory pose must be under way with time to spare in the winner scene.
constexpr int TakeUpWithin = 28;

std::string MotionName(int motion) {
    const std::string pattern = motionFiles[motion].pattern;
    const size_t first = pattern.find('\\');
    return pattern.substr(first + 1, pattern.find('\\', first + 1) - first - 1);
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint32_t Little(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

Vec3 Centre(int joint) {
    const Mesh& mesh = meshes[joint];
    std::vector<Vec3> points(mesh.vertices, mesh.vertices + mesh.vertexCount);
    TransformToWorld(joints[joint], points.data(), mesh.vertexCount);
    Vec3 sum = {0.0, 0.0, 0.0};
    for (const Vec3& p : points) sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    return {sum.x / mesh.vertexCount, sum.y / mesh.vertexCount, sum.z / mesh.vertexCount};
}

double Distance(const Vec3& a, const Vec3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z));
}

enum class Blow { Lands, MeetsTheBlade, Misses };

// One frame of both figures as a fight has it: turned to face each other,
// judged by the hit pass's spheres (the weapon against the other's torso,
// then against the other's weapon), then played on.
Blow JudgeAndPlay() {
    joints[0].angles[2] = TruncToAngle(AngleFromDelta(joints[0].offset, joints[15].offset));
    joints[15].angles[2] = TruncToAngle(AngleFromDelta(joints[15].offset, joints[0].offset));
    const Vec3 weapon = Centre(14);
    Blow blow = Blow::Misses;
    if (Distance(weapon, Centre(15)) <= joints[14].radius + joints[15].radius) {
        blow = Blow::Lands;
    } else if (Distance(weapon, Centre(29)) <= joints[14].radius + joints[29].radius) {
        blow = Blow::MeetsTheBlade;
    }
    AdvanceMotion(joints, fighter1, 0, 15);
    AdvanceMotion(joints, fighter2, 15, 30);
    return blow;
}

// Both fighters settled into a motion at a distance, every key as loaded.
void Stand(uint16_t motion, double distance) {
    for (Fighter& f : fighters) {
        for (int m = 0; m < MotionCount; ++m) {
            for (int k = 0; k < motionFiles[m].keys; ++k) RestoreKey(f.motions[m][k]);
        }
        f.motion = {};
        f.motion.currentMotion = f.motion.nextMotion = motion;
    }
    for (int j = 0; j < 30; ++j) {
        for (int a = 0; a < 3; ++a) joints[j].angles[a] = fighter1.motions[motion][0].rawEntries[j % 15].angles[a];
    }
    SetJointOffset(joints[15], joints[0].offset.x + distance, 256.0, joints[0].offset.z);
}

class Motions : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EnterDataFolder());
        EnsureSineTable();
        LoadAllMotions();
        BuildFigures();
        // Standing as in a fight: fighter 2 at the start distance, facing.
        SetJointOffset(joints[0], -324.0, 256.0, -100.0);
        SetJointOffset(joints[15], 124.0, 256.0, -100.0);
    }

    // Fighter 1 asked for a motion the way the controls and hits ask.
    static void Ask(uint16_t motion) {
        const bool chosen = motion == Way || motion == Walk || motion == Jump;
        RequestMotion(fighter1, motion, chosen ? Requested : Locked);
    }
    static void Step() { AdvanceMotion(joints, fighter1, 0, 15); }
    static MotionState& State() { return fighter1.motion; }
    static const MotionKey& Key(int motion, int key) { return fighter1.motions[motion][key]; }
};

TEST_F(Motions, EveryKeyFileHoldsFifteenZeroPositionEntriesAndTheMotionHasNoExtraKeys) {
    for (int m = 0; m < MotionCount; ++m) {
        for (int k = 0; k <= motionFiles[m].keys; ++k) {
            const std::string path = std::string(TESSALINE_DATA_DIR) + "/Motion/" + MotionName(m) + "/Motion" +
                                     std::to_string(k) + ".deg";
            const std::vector<uint8_t> bytes = ReadBytes(path);
            SCOPED_TRACE(path);
            if (k == motionFiles[m].keys) {
                EXPECT_TRUE(bytes.empty()) << "a key beyond the motion's count";
                continue;
            }
            ASSERT_EQ(bytes.size(), 12u + 15u * 32u);
            EXPECT_EQ(Little(bytes, 0, 2), 15u);
            EXPECT_EQ(Little(bytes, 4, 4) & ~(Loop | End), 0u) << "unknown key flags";
            for (size_t e = 12; e < bytes.size(); e += 32) {
                for (int a = 0; a < 3; ++a) EXPECT_LT(Little(bytes, e + 2 * a, 2), 512u) << "an angle past one turn";
                // Equal positions in every key: the playback never moves a joint.
                for (size_t p = e + 8; p < e + 32; ++p) EXPECT_EQ(bytes[p], 0) << "a position other than 0.0";
            }
        }
    }
}

TEST_F(Motions, KeyTimingsSuitThePlayback) {
    for (int m = 0; m < MotionCount; ++m) {
        const int keys = motionFiles[m].keys;
        for (int k = 0; k < keys; ++k) {
            SCOPED_TRACE(MotionName(m) + " key " + std::to_string(k));
            const MotionKey& key = Key(m, k);
            EXPECT_EQ(key.keyCount, keys);
            EXPECT_GE(key.duration, keys) << "the playback divides the duration by the key count";
            if (key.keyFlags & End) {
                ASSERT_LT(k + 1, keys) << "End on the last key";
                EXPECT_GE(Key(m, k + 1).duration, BlendFrames - 1) << "the blend would outlast the key after End";
            }
        }
    }
}

// Asked for once, every motion goes on through its own keys: the key only
// ever moves to the next one, back to 0 at a Loop, or holds still through a
// blend, and the fighter is handed back to the controls now and then.
TEST_F(Motions, PlaybackNeverLeavesAMotionsKeys) {
    for (int m = 0; m < MotionCount; ++m) {
        SCOPED_TRACE(MotionName(m));
        Stand(Way, 448.0);
        Ask(static_cast<uint16_t>(m));
        int handedBack = 0;
        for (int frame = 0; frame < 2000; ++frame) {
            const MotionState before = State();
            Step();
            const MotionState& now = State();
            ASSERT_LT(now.currentKey, motionFiles[now.currentMotion].keys) << "frame " << frame;
            if ((before.motionFlags & Blending) != 0) {
                const bool blendDone = (now.motionFlags & Blending) == 0;
                if (!blendDone) {
                    ASSERT_EQ(now.currentKey, before.currentKey) << "key changed under a blend";
                }
                continue;
            }
            if (now.currentKey == before.currentKey) continue;
            const uint32_t flags = Key(before.currentMotion, before.currentKey).keyFlags;
            if (flags & Loop) {
                EXPECT_EQ(now.currentKey, 0);
            } else {
                EXPECT_EQ(now.currentKey, before.currentKey + 1);
            }
            if (flags & (Loop | End)) {
                ++handedBack;
                Ask(static_cast<uint16_t>(m));  // as the controls or the scenes would, keeping to m
            }
        }
        EXPECT_GT(handedBack, 10);
    }
}

// The winner scene only sets the winner's nextMotion to TakeUp, every frame,
// whatever the winner is doing: standing, walking, in the air, or in the
// blow that knocked the other out (which repeats itself meanwhile, since
// nothing asks for anything else after the fight).
TEST_F(Motions, TheWinnerTakesUpTheVictoryPoseFromAnyMomentOfAnyMotion) {
    for (uint16_t start : {Way, Walk, Jump, Slay, YokoGiri}) {
        for (int moment = 0; moment < 60; ++moment) {
            SCOPED_TRACE(MotionName(start) + " after " + std::to_string(moment) + " frames");
            Stand(Way, 448.0);
            Ask(start);
            for (int frame = 0; frame < moment; ++frame) Step();
            int frames = 0;
            while (State().currentMotion != TakeUp && frames < WinnerSceneFrames) {
                State().nextMotion = TakeUp;
                Step();
                ++frames;
            }
            EXPECT_LE(frames, TakeUpWithin);
            for (int frame = 0; frame < 300; ++frame) {
                State().nextMotion = TakeUp;
                Step();
                ASSERT_EQ(State().currentMotion, TakeUp) << "TakeUp stopped after " << frame << " frames";
            }
        }
    }
}

// Blows are judged every frame: a blow that reaches the other's weapon
// sphere (192 + 192) before its torso sphere (192 + 64) is cancelled. So
// the guard keeps the blade away from the opponent, and a blow must swing
// (land after its blend) and reach the body first: from the start distance
// and closer, against a fighter standing or walking, and the combo's
// second blow against the first blow's reaction.
TEST_F(Motions, BlowsSwingThroughTheOpponentBeforeMeetingItsBlade) {
    for (uint16_t stance : {Way, Walk}) {
        for (uint16_t blow : {Slay, YokoGiri}) {
            for (double distance : {260.0, 320.0, 380.0, 448.0}) {
                SCOPED_TRACE(MotionName(blow) + " against " + MotionName(stance) + " at " + std::to_string(distance));
                Stand(stance, distance);
                Ask(blow);
                Blow first = Blow::Misses;
                int frame = 0;
                for (; frame < 60 && first == Blow::Misses && (State().motionFlags & Locked); ++frame) {
                    first = JudgeAndPlay();
                }
                EXPECT_EQ(first, Blow::Lands);
                EXPECT_GE(frame, BlendFrames) << "landed before the blade swung";
            }
        }
    }
    for (double distance : {320.0, 448.0}) {
        SCOPED_TRACE("the combo at " + std::to_string(distance));
        Stand(Way, distance);
        Ask(Slay);
        int frame = 0;
        while (frame < 40 && JudgeAndPlay() != Blow::Lands) ++frame;
        ASSERT_LT(frame, 40);
        RequestMotion(fighter2, UpDamage, Locked);
        for (int wait = 0; wait < 6; ++wait) JudgeAndPlay();  // the second press, once the blend is over
        ASSERT_TRUE(State().motionFlags & Locked);
        Ask(YokoGiri);
        Blow first = Blow::Misses;
        for (frame = 0; frame < 40 && first == Blow::Misses; ++frame) first = JudgeAndPlay();
        EXPECT_EQ(first, Blow::Lands);
    }
}

}  // namespace
