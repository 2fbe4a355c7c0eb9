#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <string>

#include "platform/TextEncoding.h"

using namespace pabuko;

TEST(TextEncoding, CzechLettersRoundTrip) {
    const std::string czech = "Příliš žluťoučký kůň úpěl ďábelské ódy ŠČŘŽÝÁÍÉŮÚŤĎŇĚ";
    auto bytes = Utf8ToCp1250(czech);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 53u);                             // one byte per character
    EXPECT_EQ(static_cast<unsigned char>((*bytes)[1]), 0xF8);  // ř
    EXPECT_EQ(Cp1250ToUtf8(*bytes), czech);
}

TEST(TextEncoding, RefusesWhatWindows1250CannotHold) {
    EXPECT_FALSE(Utf8ToCp1250("Ελλάδα").has_value());
    EXPECT_FALSE(Utf8ToCp1250("\xC3").has_value());       // cut sequence
    EXPECT_FALSE(Utf8ToCp1250("a\xE2\x82").has_value());  // cut three-byte sequence
    EXPECT_EQ(Utf8ToCp1250Lossy("aΩb"), "a?b");
}

TEST(TextEncoding, UndefinedBytesShowAsReplacement) {
    EXPECT_EQ(Cp1250ToUtf8(std::string("\x81", 1)), "\xEF\xBF\xBD");
    EXPECT_EQ(Cp1250ToCodePoint(0x9A), U'š');
}

namespace {

// The C library's own conversion of one byte, or nullopt where it has none.
std::optional<std::string> Iconv(const char* from, const char* to, const std::string& in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string src = in;
    char out[16];
    char* inPtr = src.data();
    size_t inLeft = src.size();
    char* outPtr = out;
    size_t outLeft = sizeof out;
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return std::string(out, outPtr);
}

}  // namespace

TEST(TextEncoding, EveryByteAgreesWithTheCLibrary) {
    ASSERT_TRUE(Iconv("CP1250", "UTF-8", "a").has_value()) << "iconv lacks CP1250";
    int undefined = 0;
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const auto expected = Iconv("CP1250", "UTF-8", byte);
        if (!expected) {
            ++undefined;
            EXPECT_EQ(Cp1250ToCodePoint(static_cast<unsigned char>(b)), 0u) << b;
            EXPECT_EQ(Cp1250ToUtf8(byte), "\xEF\xBF\xBD") << b;
            continue;
        }
        EXPECT_EQ(Cp1250ToUtf8(byte), *expected) << b;
        EXPECT_EQ(Utf8ToCp1250(*expected), byte) << b;
        EXPECT_EQ(Iconv("UTF-8", "CP1250", Cp1250ToUtf8(byte)), byte) << b;
    }
    EXPECT_EQ(undefined, 5);
}
