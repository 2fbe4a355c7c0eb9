#include "assets/Picture.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "assets/ObjectStream.h"

namespace pabuko {

namespace picture_messages {
std::string BitcountInvalid(int bitCount) {
    return "Bitcount in invalid (" + std::to_string(bitCount) + ")";
}
}  // namespace picture_messages

std::string_view Picture::KindName() const {
    switch (kind) {
        case Kind::Bitmap:
            return "TBitmap";
        case Kind::Dib:
            return "TDIB";
        case Kind::None:
            break;
    }
    return "";
}

namespace {

// Which texts a failure gives: a bare DIB names the fault, a BMP file only says it is bad.
struct DibErrors {
    bool bmpFile;
    PixelBudget* budget = nullptr;
    [[noreturn]] void Header() const {
        throw StreamError(bmpFile ? picture_messages::kBitmapNotValid
                                  : picture_messages::kDibInvalid);
    }
    [[noreturn]] void BitCount(int bits) const {
        throw StreamError(bmpFile ? std::string(picture_messages::kBitmapNotValid)
                                  : picture_messages::BitcountInvalid(bits));
    }
    [[noreturn]] void Masks() const {
        throw StreamError(bmpFile ? picture_messages::kBitmapNotValid
                                  : picture_messages::kPixelFormatInvalid);
    }
};

// One colour channel of a packed pixel: the first run of one bits in its mask.
struct Channel {
    int shift = 0;
    int run = 0;

    static Channel Of(uint32_t mask) {
        Channel c;
        if (mask == 0) return c;
        while ((mask & 1) == 0) {
            mask >>= 1;
            ++c.shift;
        }
        while (mask & 1) {
            ++c.run;
            mask >>= 1;
        }
        return c;
    }
    // The channel's value widened to 8 bits by repeating its high bits, so full is 255.
    uint8_t From(uint32_t pixel) const {
        if (run == 0) return 0;
        uint32_t v = (pixel >> shift) & ((uint32_t{1} << run) - 1);
        if (run >= 8) return static_cast<uint8_t>(v >> (run - 8));
        uint32_t out = 0;
        int bits = 0;
        for (; bits < 8; bits += run) out = (out << run) | v;
        return static_cast<uint8_t>(out >> (bits - 8));
    }
};

struct DibHeader {
    int64_t width = 0;
    int64_t height = 0;  // positive; topDown says the order
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = 0;
    Channel red, green, blue;  // where each colour sits in a 16-, 24- or 32-bit pixel
    std::vector<uint32_t> palette;
};

DibHeader ReadDibHeader(ByteReader& in, const DibErrors& errors) {
    DibHeader h;
    if (in.Remaining() < 4) errors.Header();
    const uint32_t headerSize = in.U32();
    const size_t headerStart = in.Position() - 4;
    uint32_t clrUsed = 0;
    int entryBytes = 4;
    bool v4Masks = false;
    if (headerSize == 12) {
        h.width = in.U16();
        h.height = in.U16();
        in.U16();  // planes
        h.bitCount = in.U16();
        entryBytes = 3;
    } else if (headerSize == 40 || (errors.bmpFile && (headerSize == 108 || headerSize == 124))) {
        h.width = in.I32();
        h.height = in.I32();
        in.U16();  // planes
        h.bitCount = in.U16();
        h.compression = in.U32();
        in.Skip(12);  // image size, resolution
        clrUsed = in.U32();
        in.U32();  // important colours
        v4Masks = headerSize != 40;
    } else {
        errors.Header();
    }
    if (h.compression > 3) errors.Header();
    switch (h.bitCount) {
        case 1:
        case 4:
        case 8:
        case 16:
        case 24:
        case 32:
            break;
        default:
            errors.BitCount(h.bitCount);
    }
    if (h.bitCount == 16) {
        h.red = Channel::Of(0x7C00);
        h.green = Channel::Of(0x03E0);
        h.blue = Channel::Of(0x001F);
    } else {
        h.red = Channel::Of(0xFF0000);
        h.green = Channel::Of(0x00FF00);
        h.blue = Channel::Of(0x0000FF);
    }
    if (h.compression == 3) {
        // Accepted by run lengths; the pixels are then read where the masks say, in
        // whatever order they put the colours.
        h.red = Channel::Of(in.U32());
        h.green = Channel::Of(in.U32());
        h.blue = Channel::Of(in.U32());
        const int r = h.red.run;
        const int g = h.green.run;
        const int b = h.blue.run;
        if (h.bitCount == 16) {
            if (!(r == 5 && (g == 5 || g == 6) && b == 5)) errors.Masks();
        } else if (!(r == 8 && g == 8 && b == 8)) {
            errors.Masks();
        }
    }
    if (v4Masks) {
        const size_t end = headerStart + headerSize;
        in.Seek(std::max(end, in.Position()));
    }
    if (h.height < 0) {
        h.topDown = true;
        h.height = -h.height;
    }
    if (h.width < 0) errors.Header();
    if (h.width > kMaxPictureSide || h.height > kMaxPictureSide ||
        h.width * h.height > kMaxPicturePixels) {
        errors.Header();
    }
    if (errors.budget) {
        if (h.width * h.height > errors.budget->left)
            throw PictureBudgetError(errors.bmpFile ? picture_messages::kBitmapNotValid
                                                    : picture_messages::kDibInvalid);
        errors.budget->left -= h.width * h.height;
    }

    size_t entries = clrUsed ? std::min<uint32_t>(clrUsed, 256)
                             : (h.bitCount <= 8 ? size_t{1} << h.bitCount : 0);
    h.palette.reserve(entries);
    for (size_t i = 0; i < entries; ++i) {
        auto e = in.Bytes(static_cast<size_t>(entryBytes));
        h.palette.push_back(PixelFromRgb(e[2], e[1], e[0]));
    }
    return h;
}

class PixelSink {
  public:
    PixelSink(Picture& pic, const DibHeader& h) : pic_(pic), h_(h) {}
    // Row r as stored (0 = first row in the data).
    uint32_t* Row(int64_t r) {
        const int64_t y = h_.topDown ? r : h_.height - 1 - r;
        return pic_.pixels.data() + y * h_.width;
    }
    uint32_t Index(uint32_t i) const { return i < h_.palette.size() ? h_.palette[i] : kOpaque; }

  private:
    Picture& pic_;
    const DibHeader& h_;
};

void DecodeRows(ByteReader& in, const DibHeader& h, Picture& pic) {
    const int64_t stride = ((h.width * h.bitCount + 31) / 32) * 4;
    if (static_cast<uint64_t>(stride * h.height) > in.Remaining()) {
        throw StreamError(stream_messages::kStreamReadError);
    }
    PixelSink sink(pic, h);
    for (int64_t r = 0; r < h.height; ++r) {
        const uint8_t* src = in.Bytes(static_cast<size_t>(stride)).data();
        uint32_t* dst = sink.Row(r);
        switch (h.bitCount) {
            case 1:
                for (int64_t x = 0; x < h.width; ++x) {
                    dst[x] = sink.Index((src[x >> 3] >> (7 - (x & 7))) & 1);
                }
                break;
            case 4:
                for (int64_t x = 0; x < h.width; ++x) {
                    const uint8_t b = src[x >> 1];
                    dst[x] = sink.Index((x & 1) ? (b & 0x0F) : (b >> 4));
                }
                break;
            case 8:
                for (int64_t x = 0; x < h.width; ++x) dst[x] = sink.Index(src[x]);
                break;
            case 16:
            case 24:
            case 32: {
                const int bytes = h.bitCount / 8;
                for (int64_t x = 0; x < h.width; ++x) {
                    const uint8_t* p = src + bytes * x;
                    uint32_t v = 0;
                    for (int i = 0; i < bytes; ++i) v |= uint32_t{p[i]} << (8 * i);
                    dst[x] = PixelFromRgb(h.red.From(v), h.green.From(v), h.blue.From(v));
                }
                break;
            }
        }
    }
}

// RLE8 and RLE4. Pixels the codes skip keep palette entry 0; data that stops early just
// ends the picture.
void DecodeRle(ByteReader& in, const DibHeader& h, Picture& pic, bool four) {
    PixelSink sink(pic, h);
    std::fill(pic.pixels.begin(), pic.pixels.end(), sink.Index(0));
    int64_t x = 0;
    int64_t r = 0;
    auto put = [&](uint32_t index) {
        if (x < h.width && r < h.height) sink.Row(r)[x] = sink.Index(index);
        ++x;
    };
    while (in.Remaining() >= 2 && r < h.height) {
        const uint8_t count = in.U8();
        const uint8_t value = in.U8();
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            }
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++r;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (in.Remaining() < 2) break;
            x += in.U8();
            r += in.U8();
        } else {  // absolute run, padded to a 16-bit boundary
            const size_t bytes = four ? (value + 1u) / 2 : value;
            if (in.Remaining() < bytes) break;
            auto run = in.Bytes(bytes);
            for (int i = 0; i < value; ++i) {
                put(four ? ((i & 1) ? (run[i / 2] & 0x0F) : (run[i / 2] >> 4)) : run[i]);
            }
            if ((bytes & 1) && in.Remaining() > 0) in.U8();
        }
    }
}

Picture DecodeDibFrom(ByteReader& in, const DibErrors& errors, Picture::Kind kind,
                      size_t pixelOffset) {
    const DibHeader h = ReadDibHeader(in, errors);
    Picture pic;
    pic.width = static_cast<int>(h.width);
    pic.height = static_cast<int>(h.height);
    if (h.width == 0 || h.height == 0) {
        pic.kind = kind;
        return pic;
    }
    // A BMP file may leave a gap before its pixels; its offset says where they start.
    if (pixelOffset > in.Position() && pixelOffset < in.Size()) in.Seek(pixelOffset);
    pic.pixels.assign(static_cast<size_t>(h.width * h.height), kOpaque);
    if (h.compression == 1 || h.compression == 2) {
        DecodeRle(in, h, pic, h.compression == 2);
    } else {
        DecodeRows(in, h, pic);
    }
    pic.kind = kind;
    return pic;
}

}  // namespace

Picture DecodeDib(std::span<const uint8_t> dib, PixelBudget* budget) {
    ByteReader in(dib);
    if (dib.empty()) {
        Picture pic;
        pic.kind = Picture::Kind::Dib;
        return pic;
    }
    return DecodeDibFrom(in, DibErrors{false, budget}, Picture::Kind::Dib, 0);
}

Picture DecodeBmpFile(std::span<const uint8_t> file, PixelBudget* budget) {
    if (file.empty()) {
        Picture pic;
        pic.kind = Picture::Kind::Bitmap;
        return pic;
    }
    ByteReader in(file);
    auto head = in.Bytes(14);
    if (head[0] != 'B' || head[1] != 'M') throw StreamError(picture_messages::kBitmapNotValid);
    const uint32_t offBits = LoadU32(head, 10);
    return DecodeDibFrom(in, DibErrors{true, budget}, Picture::Kind::Bitmap, offBits);
}

Picture DecodePictureData(std::span<const uint8_t> payload, PixelBudget* budget) {
    Picture pic;
    ByteReader in(payload);
    if (in.AtEnd()) return pic;
    const size_t nameLength = in.U8();
    if (nameLength > in.Remaining()) return pic;
    const std::string kind = in.String(nameLength);
    if (kind == "TBitmap") {
        const uint32_t length = in.U32();
        pic = DecodeBmpFile(in.Bytes(length), budget);
    } else if (kind == "TDIB") {
        pic = DecodeDib(in.Bytes(in.Remaining()), budget);
    } else {
        return pic;
    }
    pic.data.assign(payload.begin(), payload.end());
    return pic;
}

// ---- writers

std::vector<uint8_t> EncodeDib(int width, int height, std::span<const uint32_t> pixels,
                               int bitCount) {
    if (bitCount != 8 && bitCount != 24 && bitCount != 32) {
        throw std::invalid_argument("bit count must be 8, 24 or 32");
    }
    if (width < 0 || height < 0 ||
        pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        throw std::invalid_argument("pixel count does not match the size");
    }
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint8_t> indexOf;
    if (bitCount == 8) {
        for (uint32_t p : pixels) {
            const uint32_t rgb = p & 0xFFFFFFu;
            if (indexOf.count(rgb)) continue;
            if (palette.size() == 256) throw std::invalid_argument("more than 256 colours");
            indexOf[rgb] = static_cast<uint8_t>(palette.size());
            palette.push_back(rgb);
        }
    }
    const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    std::vector<uint8_t> out;
    out.reserve(40 + palette.size() * 4 + stride * height);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(width));
    PutU32(out, static_cast<uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, static_cast<uint16_t>(bitCount));
    PutU32(out, 0);  // no compression
    PutU32(out, static_cast<uint32_t>(stride * height));
    PutU32(out, 3780);  // 96 dpi
    PutU32(out, 3780);
    PutU32(out, static_cast<uint32_t>(palette.size()));
    PutU32(out, 0);
    for (uint32_t c : palette) PutU32(out, c);
    for (int y = height - 1; y >= 0; --y) {
        const size_t rowStart = out.size();
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
            if (bitCount == 8) {
                out.push_back(indexOf[p & 0xFFFFFFu]);
            } else {
                out.push_back(static_cast<uint8_t>(p));
                out.push_back(static_cast<uint8_t>(p >> 8));
                out.push_back(static_cast<uint8_t>(p >> 16));
                if (bitCount == 32) out.push_back(0);
            }
        }
        out.resize(rowStart + stride, 0);
    }
    return out;
}

std::vector<uint8_t> EncodeBmpFile(int width, int height, std::span<const uint32_t> pixels,
                                   int bitCount) {
    const std::vector<uint8_t> dib = EncodeDib(width, height, pixels, bitCount);
    const uint32_t paletteBytes = bitCount == 8 ? dib[32] * 4u + dib[33] * 1024u : 0;
    std::vector<uint8_t> out{'B', 'M'};
    PutU32(out, static_cast<uint32_t>(14 + dib.size()));
    PutU32(out, 0);
    PutU32(out, 14 + 40 + paletteBytes);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

std::vector<uint8_t> PictureDataFromBmp(std::span<const uint8_t> bmpFile) {
    std::vector<uint8_t> out{7, 'T', 'B', 'i', 't', 'm', 'a', 'p'};
    PutU32(out, static_cast<uint32_t>(bmpFile.size()));
    out.insert(out.end(), bmpFile.begin(), bmpFile.end());
    return out;
}

std::vector<uint8_t> PictureDataFromDib(std::span<const uint8_t> dib) {
    static constexpr uint8_t kClass[] = {4, 'T', 'D', 'I', 'B'};
    std::vector<uint8_t> out(sizeof kClass + dib.size());
    std::copy(std::begin(kClass), std::end(kClass), out.begin());
    std::copy(dib.begin(), dib.end(), out.begin() + sizeof kClass);
    return out;
}

}  // namespace pabuko
