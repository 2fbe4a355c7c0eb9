#pragma once
// Of a General MIDI soundfont, only what one track plays. A track uses a handful of the
// font's instruments and of a drum kit a few of its sounds, yet the synthesizer loads an
// instrument whole: with a large font that is tens of megabytes of samples never heard.
// The reduced soundfont is a valid SoundFont 2 file made on the fly: its instruments are the
// track's, each with only the zones of the keys it plays; its samples are read from the
// original file as they are asked for.
#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace pabuko {

// The instruments a track plays (bank × 128 + program; bank 128 is the drum kits), each
// with the keys it plays.
using TrackInstruments = std::map<int, std::bitset<128>>;

// What a Standard MIDI File plays on the synthesizer as the game sets it up: a channel that
// plays before choosing an instrument gets the piano (channel 10 the standard kit). Empty
// when the file does what this does not follow (a bank select, a system exclusive message,
// bytes that are no events): such a track needs the whole soundfont.
std::optional<TrackInstruments> InstrumentsOfTrack(std::span<const uint8_t> midi);

// Reads `n` bytes at `offset` of the original soundfont into `out`; false when they are not
// all there.
using SoundFontReader = std::function<bool(uint64_t offset, void* out, size_t n)>;

class SoundFontSubset {
  public:
    // The reduced soundfont of `original` (`size` bytes) for `track`. Empty when the original
    // is no SoundFont 2 file this reads (damaged, 24-bit or ROM samples) or lacks an
    // instrument the track plays: then the original must be loaded whole.
    static std::optional<SoundFontSubset> Make(SoundFontReader original, uint64_t size,
                                               const TrackInstruments& track);

    uint64_t Size() const { return size_; }
    // Bytes of the sample data taken from the original.
    uint64_t SampleBytes() const { return sampleBytes_; }
    // Reads `n` bytes of the reduced soundfont at `offset`; false past its end or when the
    // original cannot be read.
    bool Read(uint64_t offset, void* out, size_t n) const;

  private:
    // A stretch of the reduced file: bytes of `head_`, of the original, or zeros.
    struct Piece {
        enum Kind { Head, Original, Zeros } kind;
        uint64_t at;      // where it starts in the reduced file
        uint64_t length;  // bytes
        uint64_t from;    // where it starts in its source
    };

    SoundFontReader original_;
    std::vector<uint8_t> head_;  // the headers before the samples, then the preset data
    std::vector<Piece> pieces_;
    uint64_t size_ = 0;
    uint64_t sampleBytes_ = 0;
};

}  // namespace pabuko
