#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/ObjectStream.h"
#include "assets/WaveFile.h"

namespace pabuko {
namespace {

using Bytes = std::vector<uint8_t>;

void Append(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
}
void Append32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
Bytes Header() {
    Bytes b;
    Append(b, "RIFF");
    Append32(b, 0xDEADBEEF);  // never examined
    Append(b, "WAVE");
    return b;
}
void Chunk(Bytes& b, const std::string& id, const Bytes& body) {
    Append(b, id);
    Append32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
}

std::string ErrorOf(const Bytes& payload) {
    try {
        ReadWavePayload(payload);
    } catch (const StreamError& e) {
        return e.what();
    }
    return "";
}

TEST(WavePayloadReader, ShortOrForeignHeadersFail) {
    EXPECT_EQ(ErrorOf({}), "Stream read error");
    Bytes eleven = Header();
    eleven.pop_back();
    EXPECT_EQ(ErrorOf(eleven), "Stream read error");
    Bytes riffx = Header();
    riffx[0] = 'r';
    EXPECT_EQ(ErrorOf(riffx), "Wave is invalid");
    Bytes avi = Header();
    std::memcpy(avi.data() + 8, "AVI ", 4);
    EXPECT_EQ(ErrorOf(avi), "Wave is invalid");
    // Twelve bytes and nothing else: a wave with no format and no samples.
    EXPECT_TRUE(ReadWavePayload(Header()).Empty());
}

TEST(WavePayloadReader, TakesFormatAndDataAndSkipsOtherChunks) {
    Bytes b = Header();
    Chunk(b, "LIST", {1, 2, 3});  // odd size and no pad byte after it
    Chunk(b, "fmt ", {9, 8, 7, 6, 5});
    Chunk(b, "junk", {});
    Chunk(b, "data", {10, 20, 30});
    Chunk(b, "cue ", {1, 1, 1, 1});
    const Wave w = ReadWavePayload(b);
    EXPECT_EQ(w.Format, (Bytes{9, 8, 7, 6, 5}));
    EXPECT_EQ(w.Data, (Bytes{10, 20, 30}));
}

TEST(WavePayloadReader, LaterChunksReplaceEarlierOnesAndZeroHeaderEnds) {
    Bytes b = Header();
    Chunk(b, "data", {1, 2});
    Chunk(b, "fmt ", {1});
    Chunk(b, "fmt ", {2, 2});
    Chunk(b, "data", {3});
    b.insert(b.end(), 8, 0);
    Chunk(b, "data", {7, 7, 7});  // after the end marker: never read
    const Wave w = ReadWavePayload(b);
    EXPECT_EQ(w.Format, (Bytes{2, 2}));
    EXPECT_EQ(w.Data, (Bytes{3}));
}

TEST(WavePayloadReader, TruncationNeverReadsPastTheEnd) {
    Bytes b = Header();
    Chunk(b, "fmt ", MakePcmFormat(1, 22050, 8));
    Chunk(b, "data", Bytes(100, 0x80));
    // Every cut inside the chunks either fails cleanly or gives what is whole.
    for (size_t n = 12; n < b.size(); ++n) {
        const Bytes cut(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n));
        const std::string error = ErrorOf(cut);
        if (n < 20) {
            // A partial header reads as zeros past the end; it ends the list or names a
            // format chunk that cannot be read whole.
            EXPECT_TRUE(error == "" || error == "Stream read error") << n;
        } else if (n < 36) {
            EXPECT_EQ(error, "Stream read error") << n;  // the format body is cut
        } else if (n <= 40) {
            EXPECT_EQ(error, "") << n;  // no data chunk yet, or one of size 0
        } else {
            EXPECT_EQ(error, "Stream read error") << n;  // the samples are cut
        }
    }
    Bytes cutFmt = Header();
    Append(cutFmt, "fmt ");
    Append32(cutFmt, 16);
    cutFmt.insert(cutFmt.end(), 15, 1);
    EXPECT_EQ(ErrorOf(cutFmt), "Stream read error");
}

TEST(WavePayloadReader, HugeSizesFailOrEndWithoutOverflow) {
    Bytes hugeData = Header();
    Append(hugeData, "data");
    Append32(hugeData, 0xFFFFFFFF);
    EXPECT_EQ(ErrorOf(hugeData), "Stream read error");
    Bytes hugeSkip = Header();
    Append(hugeSkip, "LIST");
    Append32(hugeSkip, 0xFFFFFFF8);
    Chunk(hugeSkip, "data", {1});
    EXPECT_EQ(ErrorOf(hugeSkip), "");
    Bytes hugeFmt = Header();
    Append(hugeFmt, "fmt ");
    Append32(hugeFmt, 0xFFFFFFFF);
    EXPECT_EQ(ErrorOf(hugeFmt), "Stream read error");
}

TEST(WavePayloadWriter, RoundTripsAndLaysChunksOutUnpadded) {
    Wave w;
    w.Format = MakePcmFormat(2, 11025, 16);
    w.Data = {1, 2, 3};
    const Bytes b = WriteWavePayload(w);
    ASSERT_EQ(b.size(), 12u + 8 + 16 + 8 + 3);
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(b[4] | b[5] << 8 | b[6] << 16 | b[7] << 24, static_cast<int>(b.size() - 8));
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "fmt ");
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(ReadWavePayload(b), w);

    // An odd format block is followed directly by the data chunk.
    Wave odd;
    odd.Format = {1, 2, 3, 4, 5};
    odd.Data = {9};
    const Bytes ob = WriteWavePayload(odd);
    EXPECT_EQ(std::string(ob.begin() + 25, ob.begin() + 29), "data");
    EXPECT_EQ(ReadWavePayload(ob), odd);

    Wave noData;
    noData.Format = MakePcmFormat(1, 8000, 8);
    EXPECT_EQ(ReadWavePayload(WriteWavePayload(noData)), noData);
    Wave noFormat;
    noFormat.Data = {4, 5};
    EXPECT_EQ(ReadWavePayload(WriteWavePayload(noFormat)), noFormat);
}

TEST(WavePayloadWriter, EmptyWaveIsABareHeaderThatLoadsAgain) {
    const Bytes b = WriteWavePayload(Wave{});
    EXPECT_EQ(b, (Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}));
    EXPECT_TRUE(ReadWavePayload(b).Empty());
}

}  // namespace
}  // namespace pabuko
