// The Qt key to Windows virtual-key table, walked row by row.
#include <gtest/gtest.h>

#include <set>

#include "display/KeyboardFilter.h"

namespace pabuko {
namespace {

void ExpectEveryRowReachable(std::span<const KeyCode> table, Qt::KeyboardModifiers modifiers,
                             const char* name) {
    std::set<int> seen;
    for (const KeyCode& key : table) {
        // A second row for the same key would never be read.
        EXPECT_TRUE(seen.insert(key.qtKey).second)
            << name << ": key 0x" << std::hex << key.qtKey << " twice";
        // The key table has 256 entries, and code 0 means "no key".
        EXPECT_GT(key.virtualKey, 0) << name;
        EXPECT_LT(key.virtualKey, 256) << name;
        EXPECT_EQ(VirtualKeyFromQt(key.qtKey, modifiers), key.virtualKey)
            << name << ": key 0x" << std::hex << key.qtKey;
    }
}

TEST(VirtualKeyFromQt, EveryRowOfBothTablesGivesItsCode) {
    ExpectEveryRowReachable(KeypadKeyCodes(), Qt::KeypadModifier, "keypad");
    ExpectEveryRowReachable(OtherKeyCodes(), Qt::NoModifier, "other keys");
    // Other modifiers do not change a key's code.
    ExpectEveryRowReachable(OtherKeyCodes(), Qt::ShiftModifier | Qt::ControlModifier, "with Ctrl");
}

TEST(VirtualKeyFromQt, LettersDigitsAndFunctionKeysFollowTheirQtCodes) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A, Qt::NoModifier), 65);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Z, Qt::ShiftModifier), 90);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_0, Qt::NoModifier), 48);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_9, Qt::NoModifier), 57);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F1, Qt::NoModifier), 112);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12, Qt::NoModifier), 123);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F13, Qt::NoModifier), 0);
}

TEST(VirtualKeyFromQt, TheKeypadDiffersFromTheMainKeysAndFallsBackToThem) {
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier), 101);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_5, Qt::NoModifier), 53);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left, Qt::KeypadModifier), 100);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Left, Qt::NoModifier), 37);
    // A key the keypad has no row for keeps its ordinary code.
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Space, Qt::KeypadModifier), 32);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Asterisk, Qt::NoModifier), 0);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Eacute, Qt::NoModifier), 0);
}

}  // namespace
}  // namespace pabuko
