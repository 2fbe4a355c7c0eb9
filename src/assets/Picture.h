#pragma once
// Pictures of image list items: the "Picture.Data" payload, a kind name and that kind's
// data. "TBitmap" holds a whole BMP file, "TDIB" a bare device-independent bitmap. Both are
// decoded into 32-bit pixels once, at load; the surfaces are cut from those pixels.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assets/ObjectStream.h"

namespace pabuko {

namespace picture_messages {
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kDibInvalid = "DIB is invalid";
inline constexpr const char* kPixelFormatInvalid = "PixelFormat in invalid";
// "Bitcount in invalid (%d)"
std::string BitcountInvalid(int bitCount);
}  // namespace picture_messages

// Pixels are 0xFFRRGGBB: the top byte is padding, set so the buffer is a valid
// QImage::Format_RGB32 image.
constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t PixelFromRgb(uint8_t r, uint8_t g, uint8_t b) {
    return kOpaque | (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
}
// A colour value (0x00BBGGRR, red in the low byte) as a pixel.
constexpr uint32_t PixelFromColor(uint32_t color) {
    return PixelFromRgb(static_cast<uint8_t>(color), static_cast<uint8_t>(color >> 8),
                        static_cast<uint8_t>(color >> 16));
}

// The largest picture we decode; ours are at most a few hundred pixels a side, and a
// damaged header must not make us allocate gigabytes.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 21;

struct Picture {
    enum class Kind { None, Bitmap, Dib };

    // None: no picture at all (no data, a kind we do not read, or decoding failed).
    Kind kind = Kind::None;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // rows top to bottom, width × height
    std::vector<uint8_t> data;     // the "Picture.Data" payload, for writing back

    bool Empty() const { return kind == Kind::None; }
    // "TBitmap", "TDIB" or "".
    std::string_view KindName() const;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// What all pictures of one file may hold together. Each picture alone is bounded, but a
// small file of many run-length pictures could still ask for gigabytes. No real skin or
// screen file comes near: they hold well under a million pixels.
constexpr int64_t kMaxListPixels = int64_t{16} << 20;

// The pixels a file's pictures may still take; decoding a picture takes its share first.
struct PixelBudget {
    int64_t left = kMaxListPixels;
};

// A picture that would go over its file's PixelBudget; refused before its pixels are made.
class PictureBudgetError : public ListBudgetError {
  public:
    using ListBudgetError::ListBudgetError;
};

// Decodes a "Picture.Data" payload. Throws StreamError with the picture messages, or
// "Stream read error" when the data ends early.
Picture DecodePictureData(std::span<const uint8_t> payload, PixelBudget* budget = nullptr);
// A whole BMP file ("BM" header, information header, palette, pixels).
Picture DecodeBmpFile(std::span<const uint8_t> file, PixelBudget* budget = nullptr);
// A bare DIB (information header, masks, palette, rows).
Picture DecodeDib(std::span<const uint8_t> dib, PixelBudget* budget = nullptr);

// Writers, for the tool and the tests. Pixels are 0x??RRGGBB, rows top to bottom.
// bitCount 24 or 32, or 8 with a palette of the picture's colours (at most 256; more
// throws std::invalid_argument). Rows are stored bottom-up.
std::vector<uint8_t> EncodeDib(int width, int height, std::span<const uint32_t> pixels,
                               int bitCount = 24);
std::vector<uint8_t> EncodeBmpFile(int width, int height, std::span<const uint32_t> pixels,
                                   int bitCount = 24);
// The "Picture.Data" payload of kind "TBitmap" (length-prefixed BMP file) or "TDIB".
std::vector<uint8_t> PictureDataFromBmp(std::span<const uint8_t> bmpFile);
std::vector<uint8_t> PictureDataFromDib(std::span<const uint8_t> dib);

}  // namespace pabuko
