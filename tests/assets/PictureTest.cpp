#include <gtest/gtest.h>

#include "ListFileBuilder.h"
#include "assets/ObjectStream.h"
#include "assets/Picture.h"

namespace pabuko {
namespace {

using test::Append;
using test::Append16;
using test::Append32;

struct DibSpec {
    int32_t width = 0;
    int32_t height = 0;
    int bits = 24;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    std::vector<uint32_t> masks = {};    // written after the header when not empty
    std::vector<uint32_t> palette = {};  // 0x00RRGGBB, written as B G R 0
    std::vector<uint8_t> pixels = {};    // the rows as stored
};

std::vector<uint8_t> Dib40(const DibSpec& s) {
    std::vector<uint8_t> d;
    Append32(d, 40);
    Append32(d, static_cast<uint32_t>(s.width));
    Append32(d, static_cast<uint32_t>(s.height));
    Append16(d, 1);
    Append16(d, static_cast<uint32_t>(s.bits));
    Append32(d, s.compression);
    Append32(d, 0);
    Append32(d, 0);
    Append32(d, 0);
    Append32(d, s.clrUsed);
    Append32(d, 0);
    for (uint32_t m : s.masks) Append32(d, m);
    for (uint32_t c : s.palette) Append32(d, c);
    d.insert(d.end(), s.pixels.begin(), s.pixels.end());
    return d;
}

std::string DibError(const std::vector<uint8_t>& dib) {
    try {
        DecodePictureData(PictureDataFromDib(dib));
    } catch (const StreamError& e) {
        return e.what();
    }
    return "";
}

constexpr uint32_t kRed = PixelFromRgb(255, 0, 0);
constexpr uint32_t kGreen = PixelFromRgb(0, 255, 0);
constexpr uint32_t kBlue = PixelFromRgb(0, 0, 255);
constexpr uint32_t kWhite = PixelFromRgb(255, 255, 255);

TEST(PictureDecoding, OneBitBottomUpWithPalette) {
    // 3 × 2; stored bottom row first, rows padded to 4 bytes.
    const auto pic = DecodeDib(Dib40({.width = 3,
                                      .height = 2,
                                      .bits = 1,
                                      .palette = {0xFF0000, 0x0000FF},
                                      .pixels = {0b10100000, 0, 0, 0, 0b01000000, 0, 0, 0}}));
    ASSERT_EQ(pic.kind, Picture::Kind::Dib);
    ASSERT_EQ(pic.width, 3);
    ASSERT_EQ(pic.height, 2);
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kBlue, kRed, kBlue, kRed, kBlue}));
}

TEST(PictureDecoding, FourAndEightBitsTopDown) {
    auto pic = DecodeDib(Dib40({.width = 3,
                                .height = -1,
                                .bits = 4,
                                .clrUsed = 4,
                                .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF},
                                .pixels = {0x12, 0x30, 0, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kGreen, kBlue}));
    pic = DecodeDib(Dib40({.width = 2,
                           .height = -2,
                           .bits = 8,
                           .clrUsed = 3,
                           .palette = {0xFFFFFF, 0xFF0000, 0x00FF00},
                           .pixels = {1, 2, 0, 0, 0, 7, 0, 0}}));
    // Index 7 lies outside the three-entry palette: black, not a stray read.
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kGreen, kWhite, PixelFromRgb(0, 0, 0)}));
}

TEST(PictureDecoding, SixteenBitsDefaultAndMasks) {
    // 5-5-5 without masks: 0x7C00 red, 0x03E0 green.
    auto pic =
        DecodeDib(Dib40({.width = 2, .height = 1, .bits = 16, .pixels = {0x00, 0x7C, 0xE0, 0x03}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kGreen}));
    // 5-6-5 by masks: 0xF800 red, 0x07E0 green; 0x0010 is blue 16 of 31 → 132.
    pic = DecodeDib(Dib40({.width = 3,
                           .height = 1,
                           .bits = 16,
                           .compression = 3,
                           .masks = {0xF800, 0x07E0, 0x001F},
                           .pixels = {0x00, 0xF8, 0xE0, 0x07, 0x10, 0x00, 0, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kGreen, PixelFromRgb(0, 0, 132)}));
}

TEST(PictureDecoding, TwentyFourAndThirtyTwoBits) {
    auto pic =
        DecodeDib(Dib40({.width = 1, .height = 2, .bits = 24, .pixels = {1, 2, 3, 0, 4, 5, 6, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{PixelFromRgb(6, 5, 4), PixelFromRgb(3, 2, 1)}));
    pic = DecodeDib(Dib40({.width = 2,
                           .height = 1,
                           .bits = 32,
                           .compression = 3,
                           .masks = {0xFF0000, 0xFF00, 0xFF},
                           .pixels = {1, 2, 3, 0x80, 4, 5, 6, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{PixelFromRgb(3, 2, 1), PixelFromRgb(6, 5, 4)}));
}

TEST(PictureDecoding, MasksInAnyOrderPlaceTheColours) {
    // Red in the low byte, blue in the third: the bytes 1 2 3 are red 1, green 2, blue 3.
    auto pic = DecodeDib(Dib40({.width = 2,
                                .height = 1,
                                .bits = 32,
                                .compression = 3,
                                .masks = {0xFF, 0xFF00, 0xFF0000},
                                .pixels = {1, 2, 3, 0, 0xFF, 0, 0, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{PixelFromRgb(1, 2, 3), kRed}));
    // Colours in the upper three bytes, the low byte unused.
    pic = DecodeDib(Dib40({.width = 1,
                           .height = 1,
                           .bits = 32,
                           .compression = 3,
                           .masks = {0xFF000000, 0xFF0000, 0xFF00},
                           .pixels = {9, 3, 2, 1}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{PixelFromRgb(1, 2, 3)}));
    // 5-6-5 with red low and blue high; 5-5-5 with red low.
    pic = DecodeDib(Dib40({.width = 3,
                           .height = 1,
                           .bits = 16,
                           .compression = 3,
                           .masks = {0x001F, 0x07E0, 0xF800},
                           .pixels = {0x1F, 0x00, 0x00, 0xF8, 0x20, 0x00, 0, 0}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kBlue, PixelFromRgb(0, 4, 0)}));
    pic = DecodeDib(Dib40({.width = 2,
                           .height = 1,
                           .bits = 16,
                           .compression = 3,
                           .masks = {0x001F, 0x03E0, 0x7C00},
                           .pixels = {0x1F, 0x00, 0x00, 0x7C}}));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kBlue}));
}

TEST(PictureDecoding, CoreHeaderWithThreeBytePalette) {
    std::vector<uint8_t> d;
    Append32(d, 12);
    Append16(d, 2);
    Append16(d, 1);
    Append16(d, 1);
    Append16(d, 1);
    Append(d, {0, 0, 255, 255, 0, 0});  // red, blue
    Append(d, {0b01000000, 0, 0, 0});
    const auto pic = DecodeDib(d);
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kBlue}));
}

TEST(PictureDecoding, Rle8RunsAbsoluteDeltaAndEnd) {
    // 4 × 3, bottom-up. Bottom row: run of 2 × index 1, absolute 3 pixels (2,1,2) padded.
    // Then end of line, delta (2, 1) skipping a row, one pixel, end of bitmap.
    const auto pic =
        DecodeDib(Dib40({.width = 4,
                         .height = 3,
                         .bits = 8,
                         .compression = 1,
                         .clrUsed = 3,
                         .palette = {0x000000, 0xFF0000, 0x00FF00},
                         .pixels = {2, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 2, 1, 1, 2, 0, 1}}));
    const uint32_t k = PixelFromRgb(0, 0, 0);
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{k, k, kGreen, k,  //
                                                 k, k, k, k,       //
                                                 kRed, kRed, kGreen, kRed}));
}

TEST(PictureDecoding, Rle4) {
    // 8 × 1: run of 3 alternating 1,2,1; absolute 5 nibbles (3,1,2,3,1) in 3 bytes and a pad.
    const auto pic = DecodeDib(Dib40({.width = 8,
                                      .height = 1,
                                      .bits = 4,
                                      .compression = 2,
                                      .clrUsed = 4,
                                      .palette = {0, 0xFF0000, 0x00FF00, 0x0000FF},
                                      .pixels = {3, 0x12, 0, 5, 0x31, 0x23, 0x10, 0, 0, 1}}));
    EXPECT_EQ(pic.pixels,
              (std::vector<uint32_t>{kRed, kGreen, kRed, kBlue, kRed, kGreen, kBlue, kRed}));
}

TEST(PictureDecoding, BitmapFileHonoursThePixelOffset) {
    const std::vector<uint32_t> px{kRed, kGreen, kBlue, kWhite};
    auto bmp = EncodeBmpFile(2, 2, px);
    // Move the pixels 6 bytes further and say so in the file header.
    bmp.insert(bmp.begin() + 54, 6, 0xEE);
    bmp[10] = 60;
    const auto pic = DecodePictureData(PictureDataFromBmp(bmp));
    EXPECT_EQ(pic.kind, Picture::Kind::Bitmap);
    EXPECT_EQ(pic.pixels, px);
}

TEST(PictureDecoding, BitmapFileWithVersion4HeaderAndMasksInside) {
    // Drawing programs write 108-byte headers; the masks sit in the header itself.
    std::vector<uint8_t> bmp{'B', 'M'};
    Append32(bmp, 0);
    Append32(bmp, 0);
    Append32(bmp, 14 + 108);
    Append32(bmp, 108);
    Append32(bmp, 2);
    Append32(bmp, static_cast<uint32_t>(-1));  // top-down
    Append16(bmp, 1);
    Append16(bmp, 16);
    Append32(bmp, 3);
    for (int i = 0; i < 5; ++i) Append32(bmp, 0);
    Append32(bmp, 0xF800);
    Append32(bmp, 0x07E0);
    Append32(bmp, 0x001F);
    bmp.resize(14 + 108, 0);
    Append(bmp, {0x00, 0xF8, 0x1F, 0x00});
    const auto pic = DecodePictureData(PictureDataFromBmp(bmp));
    EXPECT_EQ(pic.pixels, (std::vector<uint32_t>{kRed, kBlue}));
    // A bare DIB knows only the 40- and 12-byte headers.
    EXPECT_EQ(DibError(std::vector<uint8_t>(bmp.begin() + 14, bmp.end())), "DIB is invalid");
}

TEST(PictureDecoding, EncodersRoundTrip) {
    std::vector<uint32_t> px;
    for (int i = 0; i < 15; ++i) px.push_back(PixelFromRgb(i * 10, 255 - i, i * 3));
    for (int bits : {8, 24, 32}) {
        auto a = DecodePictureData(PictureDataFromBmp(EncodeBmpFile(5, 3, px, bits)));
        EXPECT_EQ(a.kind, Picture::Kind::Bitmap);
        EXPECT_EQ(a.pixels, px) << bits;
        auto b = DecodePictureData(PictureDataFromDib(EncodeDib(5, 3, px, bits)));
        EXPECT_EQ(b.kind, Picture::Kind::Dib);
        EXPECT_EQ(b.pixels, px) << bits;
    }
}

TEST(PictureDecoding, EmptyAndUnknownPictures) {
    std::vector<uint8_t> emptyBitmap{7, 'T', 'B', 'i', 't', 'm', 'a', 'p', 0, 0, 0, 0};
    auto pic = DecodePictureData(emptyBitmap);
    EXPECT_EQ(pic.KindName(), "TBitmap");
    EXPECT_EQ(pic.width, 0);
    EXPECT_FALSE(pic.Empty());
    pic = DecodePictureData(std::vector<uint8_t>{4, 'T', 'D', 'I', 'B'});
    EXPECT_EQ(pic.KindName(), "TDIB");
    EXPECT_EQ(pic.height, 0);
    pic = DecodePictureData(std::vector<uint8_t>{5, 'T', 'I', 'c', 'o', 'n', 1, 2, 3});
    EXPECT_TRUE(pic.Empty());
    EXPECT_EQ(pic.KindName(), "");
    pic = DecodePictureData(std::vector<uint8_t>{4, 'T', 'd', 'i', 'b'});  // case matters
    EXPECT_TRUE(pic.Empty());
}

TEST(PictureErrors, MessagesOfTheDibReader) {
    EXPECT_EQ(DibError({1, 2}), "DIB is invalid");
    auto d = Dib40({.width = 1, .height = 1, .bits = 24, .pixels = {0, 0, 0, 0}});
    d[0] = 56;
    EXPECT_EQ(DibError(d), "DIB is invalid");
    EXPECT_EQ(DibError(Dib40({.width = 1, .height = 1, .compression = 4})), "DIB is invalid");
    EXPECT_EQ(DibError(Dib40({.width = 1, .height = 1, .bits = 2})), "Bitcount in invalid (2)");
    EXPECT_EQ(DibError(Dib40({.width = 1,
                              .height = 1,
                              .bits = 16,
                              .compression = 3,
                              .masks = {0xFF0000, 0xFF00, 0xFF}})),
              "PixelFormat in invalid");
    EXPECT_EQ(DibError(Dib40({.width = 1,
                              .height = 1,
                              .bits = 24,
                              .compression = 3,
                              .masks = {0xF800, 0x7E0, 0x1F}})),
              "PixelFormat in invalid");
    // Rows shorter than the header promises.
    EXPECT_EQ(DibError(Dib40({.width = 4, .height = 4, .bits = 24, .pixels = {1, 2, 3}})),
              "Stream read error");
    // A header claiming a vast picture must not make us allocate it.
    EXPECT_EQ(DibError(Dib40({.width = 100000, .height = 100000, .bits = 8, .compression = 1})),
              "DIB is invalid");

    auto bmp = EncodeBmpFile(1, 1, std::vector<uint32_t>{kRed});
    bmp[0] = 'X';
    EXPECT_THROW(
        {
            try {
                DecodePictureData(PictureDataFromBmp(bmp));
            } catch (const StreamError& e) {
                EXPECT_STREQ(e.what(), "Bitmap image is not valid");
                throw;
            }
        },
        StreamError);
}

TEST(PictureErrors, TruncatedPayloadsFailCleanly) {
    const std::vector<uint32_t> px(12, kRed);
    const std::vector<std::vector<uint8_t>> payloads{
        PictureDataFromBmp(EncodeBmpFile(4, 3, px, 8)),
        PictureDataFromBmp(EncodeBmpFile(4, 3, px, 24)),
        PictureDataFromDib(EncodeDib(4, 3, px, 32)),
        PictureDataFromDib(Dib40({.width = 4,
                                  .height = 3,
                                  .bits = 8,
                                  .compression = 1,
                                  .pixels = {4, 1, 0, 0, 4, 1, 0, 1}})),
    };
    for (const auto& full : payloads) {
        for (size_t n = 0; n < full.size(); ++n) {
            const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<long>(n));
            try {
                const Picture pic = DecodePictureData(part);
                EXPECT_EQ(pic.pixels.size(), static_cast<size_t>(pic.width) * pic.height);
            } catch (const StreamError&) {
            }
        }
    }
}

}  // namespace
}  // namespace pabuko
