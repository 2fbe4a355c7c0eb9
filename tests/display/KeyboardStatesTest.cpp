#include <gtest/gtest.h>

#include "display/KeyboardStates.h"

namespace pabuko {
namespace {

struct Keyboard : ::testing::Test {
    TDXInput input;
    bool foreground = true;
    void SetUp() override {
        input.IsForeground = [this] { return foreground; };
    }
};

TEST(InputStateSet, StateNIsBitNMod8OfByteNDiv8) {
    InputStateSet s;
    s.Add(isRight);
    s.Add(isButton9);
    s.Add(35);
    EXPECT_EQ(s.Bytes()[0], 8);
    EXPECT_EQ(s.Bytes()[1], 16);
    EXPECT_EQ(s.Bytes()[4], 8);
    s.Add(36);  // beyond the 36 states: ignored
    s.Remove(isRight);
    EXPECT_FALSE(s.Has(isRight));
    EXPECT_EQ(s.Bytes()[0], 0);
}

TEST(InputStateSet, DefaultAssignmentMatchesTheGameKeys) {
    const KeyAssigns a = DefaultKeyAssigns();
    EXPECT_EQ((std::array{a[3], a[4], a[5]}), (std::array<int32_t, 3>{74, 40, 98}));     // Down
    EXPECT_EQ((std::array{a[6], a[7], a[8]}), (std::array<int32_t, 3>{72, 37, 100}));    // Left
    EXPECT_EQ((std::array{a[9], a[10], a[11]}), (std::array<int32_t, 3>{76, 39, 102}));  // Right
    EXPECT_EQ(a[3 * isButton9], 113);
    int used = 0;
    for (int32_t k : a) used += k != 0;
    EXPECT_EQ(used, 4 * 3 + 2 + 2 + 1);
}

TEST_F(Keyboard, TwoKeysOfOneStateGiveItOnceAndBothMustBeReleased) {
    input.SetKey(39, true);  // Right arrow
    input.SetKey(76, true);  // L
    input.Update();
    EXPECT_TRUE(input.States().Has(isRight));
    input.SetKey(39, false);
    input.Update();
    EXPECT_TRUE(input.States().Has(isRight));
    input.SetKey(76, false);
    input.Update();
    EXPECT_FALSE(input.States().Has(isRight));
}

TEST_F(Keyboard, StatesChangeOnlyAtUpdate) {
    input.SetKey(37, true);
    EXPECT_FALSE(input.States().Has(isLeft));
    // Pressed and released between two updates: never seen.
    input.SetKey(37, false);
    input.Update();
    EXPECT_FALSE(input.States().Has(isLeft));
    input.SetKey(72, true);
    input.SetKey(39, true);
    input.Update();
    EXPECT_TRUE(input.States().Has(isLeft));
    EXPECT_TRUE(input.States().Has(isRight));
    EXPECT_EQ(input.States().Bytes()[0], 4 | 8);
}

TEST_F(Keyboard, NothingIsHeldWhileTheWindowIsNotInFront) {
    input.SetKey(40, true);
    input.Update();
    ASSERT_TRUE(input.States().Has(isDown));
    foreground = false;
    input.Update();
    EXPECT_FALSE(input.States().Has(isDown));
    foreground = true;
    input.Update();
    EXPECT_TRUE(input.States().Has(isDown));
    // Without any foreground test the window counts as not in front.
    input.IsForeground = nullptr;
    input.Update();
    EXPECT_FALSE(input.States().Has(isDown));
    input.ActiveOnly = false;
    input.Update();
    EXPECT_TRUE(input.States().Has(isDown));
}

TEST_F(Keyboard, CodesOutsideOneTo255NeverMatch) {
    input.Assigns.fill(0);
    input.Assigns[3 * isUp] = 256;
    input.Assigns[3 * isUp + 1] = -1;
    input.Assigns[3 * isDown] = 0;
    input.SetKey(0, true);
    input.SetKey(256, true);
    input.SetKey(255, true);
    input.Update();
    EXPECT_FALSE(input.States().Has(isUp));
    EXPECT_FALSE(input.States().Has(isDown));
    input.Assigns[3 * isUp + 2] = 255;
    input.Update();
    EXPECT_TRUE(input.States().Has(isUp));
}

TEST_F(Keyboard, ApostropheSharesTheRightArrowCode) {
    input.SetKey(39, true);  // the ' key maps to 39 as well
    input.Update();
    EXPECT_TRUE(input.States().Has(isRight));
    input.ReleaseAllKeys();
    input.Update();
    EXPECT_FALSE(input.States().Has(isRight));
}

}  // namespace
}  // namespace pabuko
