#include <gtest/gtest.h>

#include "platform/TextEncoding.h"

using namespace pabuko;

TEST(TextEncoding, CzechLettersRoundTrip) {
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ŠČŘŽÝÁÍÉŮÚŤĎŇĚ";
    auto bytes = Utf8ToCp1250(czech);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 53u);  // one byte per character
    EXPECT_EQ(static_cast<unsigned char>((*bytes)[1]), 0xF8);  // ř
    EXPECT_EQ(Cp1250ToUtf8(*bytes), czech);
}

TEST(TextEncoding, RefusesWhatWindows1250CannotHold) {
    EXPECT_FALSE(Utf8ToCp1250("Ελλάδα").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC3").has_value());        // cut sequence
    EXPECT_FALSE(Utf8ToCp1250("a\xE2\x82").has_value());   // cut three-byte sequence
    EXPECT_EQ(Utf8ToCp1250Lossy("aΩb"), "a?b");
}

TEST(TextEncoding, UndefinedBytesShowAsReplacement) {
    EXPECT_EQ(Cp1250ToUtf8(std::string("\x81", 1)), "\xEF\xBF\xBD");
    EXPECT_EQ(Cp1250ToCodePoint(0x9A), U'š');
}
