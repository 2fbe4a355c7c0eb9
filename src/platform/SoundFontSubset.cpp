#include "platform/SoundFontSubset.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <string_view>
#include <tuple>

#include "platform/MidiFrame.h"

namespace pabuko {

namespace {

uint32_t Be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
void PutLe16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void PutLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
bool Is(const uint8_t* p, std::string_view id) {
    return std::memcmp(p, id.data(), 4) == 0;
}

constexpr int kDrumChannel = 9;
constexpr int kDrumBank = 128;

// Where an event stands in the order the player plays it: tick, track, place in the track.
using EventOrder = std::tuple<uint64_t, unsigned, uint64_t>;
constexpr EventOrder kNever{std::numeric_limits<uint64_t>::max(), 0, 0};

struct ChannelUse {
    std::bitset<128> keys;
    std::bitset<128> programs;
    EventOrder firstNote = kNever;
    EventOrder firstProgram = kNever;
};

// Walks one track's events; false when they are none this follows.
bool ScanTrack(const uint8_t* p, const uint8_t* end, unsigned track,
               std::array<ChannelUse, 16>& channels) {
    uint64_t tick = 0;
    uint64_t place = 0;
    uint8_t running = 0;
    const auto number = [&](uint64_t& value) {
        value = 0;
        for (int i = 0; i < 4; ++i) {
            if (p == end) return false;
            const uint8_t b = *p++;
            value = value << 7 | (b & 0x7f);
            if (!(b & 0x80)) return true;
        }
        return false;
    };
    while (p < end) {
        uint64_t delta;
        if (!number(delta)) return false;
        tick += delta;
        ++place;
        if (p == end) return false;
        uint8_t status = *p;
        if (status & 0x80) {
            ++p;
        } else if (running) {
            status = running;
        } else {
            return false;
        }
        if (status == 0xff) {
            uint64_t length;
            if (p == end) return false;
            const uint8_t type = *p++;
            if (!number(length) || length > uint64_t(end - p)) return false;
            p += length;
            running = 0;
            if (type == 0x2f) break;  // the end of the track
            continue;
        }
        // System exclusive messages may make a channel a drum channel or change its bank.
        if (status >= 0xf0) return false;
        running = status;
        const int kind = status & 0xf0;
        const int channel = status & 0x0f;
        const int count = kind == 0xc0 || kind == 0xd0 ? 1 : 2;
        if (end - p < count || (p[0] & 0x80) || (count == 2 && (p[1] & 0x80))) return false;
        const int first = p[0];
        const int second = count == 2 ? p[1] : 0;
        p += count;
        ChannelUse& use = channels[size_t(channel)];
        const EventOrder order{tick, track, place};
        if (kind == 0x90 && second > 0) {
            use.keys.set(size_t(first));
            use.firstNote = std::min(use.firstNote, order);
        } else if (kind == 0xc0) {
            use.programs.set(size_t(first));
            use.firstProgram = std::min(use.firstProgram, order);
        } else if (kind == 0xb0 && (first == 0 || first == 32) &&
                   (second != 0 || channel == kDrumChannel)) {
            return false;  // another bank than the first
        }
    }
    return true;
}

// The preset data of a SoundFont 2 file, as arrays of records.
struct Records {
    const uint8_t* data = nullptr;
    size_t size = 0;  // bytes of one record
    size_t count = 0;
    const uint8_t* operator[](size_t i) const { return data + i * size; }
};

constexpr uint16_t kInstrumentGen = 41;
constexpr uint16_t kKeyRangeGen = 43;
constexpr uint16_t kSampleGen = 53;
constexpr uint32_t kSamplePadding = 46;  // zero sample points after every sample
constexpr uint16_t kRomSample = 0x8000;
constexpr uint64_t kMaxInfoBytes = 1 << 20;
constexpr uint64_t kMaxPresetBytes = 64 << 20;

// A zone's generators: the index one of them refers to (instrument or sample) and its keys.
struct Zone {
    size_t firstGen = 0, endGen = 0, firstMod = 0, endMod = 0;
    int target = -1;  // -1: a zone without one (a global zone)
    std::bitset<128> keys;
};

std::bitset<128> KeyRange(int low, int high) {
    std::bitset<128> keys;
    for (int k = std::max(low, 0); k <= std::min(high, 127); ++k) keys.set(size_t(k));
    return keys;
}

// The zones of one preset or instrument; false when its indices do not hold.
bool ReadZones(const Records& bags, const Records& gens, const Records& mods, size_t first,
               size_t end, uint16_t targetGen, std::vector<Zone>& zones) {
    zones.clear();
    for (size_t z = first; z < end; ++z) {
        Zone zone;
        zone.firstGen = Le16(bags[z]);
        zone.endGen = Le16(bags[z + 1]);
        zone.firstMod = Le16(bags[z] + 2);
        zone.endMod = Le16(bags[z + 1] + 2);
        if (zone.firstGen > zone.endGen || zone.endGen >= gens.count ||
            zone.firstMod > zone.endMod || zone.endMod >= mods.count)
            return false;
        zone.keys.set();
        for (size_t g = zone.firstGen; g < zone.endGen; ++g) {
            const uint16_t oper = Le16(gens[g]);
            if (oper == kKeyRangeGen) zone.keys = KeyRange(gens[g][2], gens[g][3]);
            if (oper != targetGen) continue;
            if (zone.target >= 0) return false;  // one zone, two instruments or samples
            zone.target = Le16(gens[g] + 2);
        }
        zones.push_back(zone);
    }
    return true;
}

// Appends a chunk "id" of `body` to `out`.
void PutChunk(std::vector<uint8_t>& out, std::string_view id, const std::vector<uint8_t>& body) {
    const size_t at = out.size();
    out.resize(at + 8);
    std::memcpy(out.data() + at, id.data(), 4);
    PutLe32(out.data() + at + 4, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

void PutRecord(std::vector<uint8_t>& out, const uint8_t* record, size_t size) {
    out.insert(out.end(), record, record + size);
}

// A terminal record: a name and an index where one belongs, zeros elsewhere.
void PutTerminal(std::vector<uint8_t>& out, size_t size, const char* name, size_t indexAt,
                 uint32_t index) {
    std::vector<uint8_t> record(size, 0);
    if (name) std::memcpy(record.data(), name, std::strlen(name));
    if (indexAt + 2 <= size) PutLe16(record.data() + indexAt, index);
    out.insert(out.end(), record.begin(), record.end());
}

}  // namespace

std::optional<TrackInstruments> InstrumentsOfTrack(std::span<const uint8_t> midi) {
    if (!LooksLikeMidiFile(midi)) return std::nullopt;
    const uint8_t* data = midi.data();
    const size_t size = midi.size();
    const unsigned format = unsigned(data[8] << 8 | data[9]);
    const unsigned tracks = unsigned(data[10] << 8 | data[11]);
    std::array<ChannelUse, 16> channels;
    size_t p = 8 + size_t(Be32(data + 4));
    for (unsigned found = 0; found < tracks && p + 8 <= size;) {
        const size_t length = Be32(data + p + 4);
        if (length > size - p - 8) return std::nullopt;
        if (Is(data + p, "MTrk")) {
            if (!ScanTrack(data + p + 8, data + p + 8 + length, found, channels))
                return std::nullopt;
            ++found;
        }
        p += 8 + length;
    }
    TrackInstruments needs;
    for (int c = 0; c < 16; ++c) {
        const ChannelUse& use = channels[size_t(c)];
        if (use.keys.none()) continue;
        const int bank = c == kDrumChannel ? kDrumBank : 0;
        std::bitset<128> programs = use.programs;
        // A note that may come before the first program change plays the default. Tracks in
        // a sequence (format 2) restart their ticks, so there nothing is sure to come first;
        // nor between tracks at the same tick.
        const auto& [noteTick, noteTrack, notePlace] = use.firstNote;
        const auto& [programTick, programTrack, programPlace] = use.firstProgram;
        const bool programFirst =
            format != 2 &&
            (programTick < noteTick ||
             (programTick == noteTick && programTrack == noteTrack && programPlace < notePlace));
        if (!programFirst) programs.set(0);
        for (int program = 0; program < 128; ++program)
            if (programs[size_t(program)]) needs[bank * 128 + program] |= use.keys;
    }
    return needs;
}

std::optional<SoundFontSubset> SoundFontSubset::Make(SoundFontReader original, uint64_t size,
                                                     const TrackInstruments& track) {
    const auto read = [&](uint64_t offset, void* out, uint64_t n) {
        return offset <= size && n <= size - offset && original(offset, out, size_t(n));
    };
    uint8_t riff[12];
    if (!read(0, riff, 12) || !Is(riff, "RIFF") || !Is(riff + 8, "sfbk")) return std::nullopt;
    const uint64_t riffEnd = 8 + uint64_t(Le32(riff + 4));
    if (riffEnd > size) return std::nullopt;

    std::vector<uint8_t> info;
    uint64_t smplAt = 0, smplBytes = 0;
    bool haveSamples = false;
    std::vector<uint8_t> pdta;
    for (uint64_t p = 12; p + 8 <= riffEnd;) {
        uint8_t header[12];
        if (!read(p, header, 8)) return std::nullopt;
        const uint64_t length = Le32(header + 4);
        if (length > riffEnd - p - 8) return std::nullopt;
        if (Is(header, "LIST") && length >= 4) {
            if (!read(p + 8, header + 8, 4)) return std::nullopt;
            if (Is(header + 8, "INFO")) {
                if (length > kMaxInfoBytes) return std::nullopt;
                info.resize(size_t(8 + length));
                if (!read(p, info.data(), info.size())) return std::nullopt;
                if (info.size() % 2) info.push_back(0);
            } else if (Is(header + 8, "sdta")) {
                for (uint64_t q = p + 12; q + 8 <= p + 8 + length;) {
                    uint8_t sub[8];
                    if (!read(q, sub, 8)) return std::nullopt;
                    const uint64_t subLength = Le32(sub + 4);
                    if (subLength > p + 8 + length - q - 8) return std::nullopt;
                    // 24-bit samples: the low bytes would have to be reduced alike.
                    if (Is(sub, "sm24") && subLength > 0) return std::nullopt;
                    if (Is(sub, "smpl")) {
                        smplAt = q + 8;
                        smplBytes = subLength;
                        haveSamples = true;
                    }
                    q += 8 + subLength + (subLength & 1);
                }
            } else if (Is(header + 8, "pdta")) {
                if (length > kMaxPresetBytes) return std::nullopt;
                pdta.resize(size_t(length - 4));
                if (!read(p + 12, pdta.data(), pdta.size())) return std::nullopt;
            }
        }
        p += 8 + length + (length & 1);
    }
    if (info.empty() || !haveSamples || pdta.empty()) return std::nullopt;
    const uint64_t samplePoints = smplBytes / 2;

    // The nine arrays of the preset data, each with its terminal record.
    Records phdr{nullptr, 38}, pbag{nullptr, 4}, pmod{nullptr, 10}, pgen{nullptr, 4};
    Records inst{nullptr, 22}, ibag{nullptr, 4}, imod{nullptr, 10}, igen{nullptr, 4};
    Records shdr{nullptr, 46};
    const std::pair<const char*, Records*> arrays[] = {
        {"phdr", &phdr}, {"pbag", &pbag}, {"pmod", &pmod}, {"pgen", &pgen}, {"inst", &inst},
        {"ibag", &ibag}, {"imod", &imod}, {"igen", &igen}, {"shdr", &shdr}};
    for (size_t q = 0; q + 8 <= pdta.size();) {
        const uint8_t* sub = pdta.data() + q;
        const size_t length = Le32(sub + 4);
        if (length > pdta.size() - q - 8) return std::nullopt;
        for (const auto& [id, records] : arrays) {
            if (!Is(sub, id)) continue;
            if (length % records->size) return std::nullopt;
            records->data = sub + 8;
            records->count = length / records->size;
        }
        q += 8 + length + (length & 1);
    }
    // Each ends in its terminal record; a font may have no instruments or samples.
    for (const auto& [id, records] : arrays)
        if (records->count < 1) return std::nullopt;
    const size_t presets = phdr.count - 1;
    const size_t instruments = inst.count - 1;
    const size_t samples = shdr.count - 1;

    // The presets the track plays, in the font's order; a preset asked for and missing
    // would fall back to another instrument in ways not worth copying.
    std::vector<size_t> chosen;
    std::vector<std::bitset<128>> presetKeys;
    for (const auto& [number, keys] : track) {
        bool found = false;
        for (size_t i = 0; i < presets; ++i) {
            if (Le16(phdr[i] + 22) * 128 + Le16(phdr[i] + 20) != number) continue;
            found = true;
            const auto at = std::find(chosen.begin(), chosen.end(), i);
            if (at == chosen.end()) {
                chosen.push_back(i);
                presetKeys.push_back(keys);
            } else {
                presetKeys[size_t(at - chosen.begin())] |= keys;
            }
        }
        if (!found) return std::nullopt;
    }

    // The zones of the keys played, and through them the instruments and their keys.
    struct Kept {
        size_t owner;  // the preset or instrument, as an index into the font
        std::vector<Zone> zones;
    };
    // Keeps of `zones` the global one and those of the keys played, telling `use` what each
    // refers to (of `targets`) with which keys; false when a zone refers past them.
    const auto keepZones = [](const std::vector<Zone>& zones, size_t targets,
                              const std::bitset<128>& played, Kept& kept, auto use) {
        for (const Zone& zone : zones) {
            if (zone.target >= int(targets)) return false;
            // Only a first zone without a target counts, as the global zone.
            if (zone.target < 0 && &zone != &zones.front()) continue;
            const std::bitset<128> keys = zone.keys & played;
            if (zone.target >= 0 && keys.none()) continue;
            if (zone.target >= 0) use(zone.target, keys);
            kept.zones.push_back(zone);
        }
        return true;
    };
    std::vector<Kept> keptPresets;
    std::vector<std::bitset<128>> instrumentKeys(instruments);
    std::vector<bool> instrumentUsed(instruments, false);
    std::vector<Zone> zones;
    for (size_t c = 0; c < chosen.size(); ++c) {
        const size_t i = chosen[c];
        const size_t first = Le16(phdr[i] + 24), end = Le16(phdr[i + 1] + 24);
        if (first > end || end >= pbag.count) return std::nullopt;
        if (!ReadZones(pbag, pgen, pmod, first, end, kInstrumentGen, zones)) return std::nullopt;
        Kept kept{i, {}};
        if (!keepZones(zones, instruments, presetKeys[c], kept, [&](int target, auto keys) {
                instrumentKeys[size_t(target)] |= keys;
                instrumentUsed[size_t(target)] = true;
            }))
            return std::nullopt;
        keptPresets.push_back(std::move(kept));
    }
    std::sort(keptPresets.begin(), keptPresets.end(),
              [](const Kept& a, const Kept& b) { return a.owner < b.owner; });

    std::vector<Kept> keptInstruments;
    std::vector<int> newInstrument(instruments, -1);
    std::vector<bool> sampleUsed(samples, false);
    for (size_t j = 0; j < instruments; ++j) {
        if (!instrumentUsed[j]) continue;
        const size_t first = Le16(inst[j] + 20), end = Le16(inst[j + 1] + 20);
        if (first > end || end >= ibag.count) return std::nullopt;
        if (!ReadZones(ibag, igen, imod, first, end, kSampleGen, zones)) return std::nullopt;
        Kept kept{j, {}};
        if (!keepZones(zones, samples, instrumentKeys[j], kept,
                       [&](int target, auto) { sampleUsed[size_t(target)] = true; }))
            return std::nullopt;
        newInstrument[j] = int(keptInstruments.size());
        keptInstruments.push_back(std::move(kept));
    }
    // The other half of a stereo pair plays with its partner.
    for (bool more = true; more;) {
        more = false;
        for (size_t s = 0; s < samples; ++s) {
            const uint16_t type = Le16(shdr[s] + 44);
            if (!sampleUsed[s]) continue;
            if (type & kRomSample) return std::nullopt;
            const size_t link = Le16(shdr[s] + 42);
            if ((type & (2 | 4 | 8)) && link < samples && !sampleUsed[link]) {
                sampleUsed[link] = true;
                more = true;
            }
        }
    }

    SoundFontSubset subset;
    subset.original_ = std::move(original);
    // The samples, each with what its loop reaches and the zeros that follow it.
    std::vector<int> newSample(samples, -1);
    std::vector<uint8_t> sampleHeaders;
    uint64_t points = 0;
    std::vector<Piece> samplePieces;
    int count = 0;
    for (size_t s = 0; s < samples; ++s) {
        if (!sampleUsed[s]) continue;
        const uint8_t* h = shdr[s];
        const uint64_t start = Le32(h + 20), end = Le32(h + 24);
        const uint64_t loopStart = Le32(h + 28), loopEnd = Le32(h + 32);
        if (start > end || end > samplePoints) return std::nullopt;
        uint64_t low = start, high = end;
        for (uint64_t loop : {loopStart, loopEnd}) {
            if (loop > samplePoints) continue;
            low = std::min(low, loop);
            high = std::max(high, loop);
        }
        // The points around it too: where a font packs its samples without the zeros
        // between them, the synthesizer's interpolation reads the neighbours' points.
        low -= std::min<uint64_t>(low, kSamplePadding);
        const uint64_t after = std::min<uint64_t>(samplePoints - high, kSamplePadding);
        high += after;
        const int64_t shift = int64_t(points) - int64_t(low);
        samplePieces.push_back({Piece::Original, 0, 2 * (high - low), smplAt + 2 * low});
        samplePieces.push_back({Piece::Zeros, 0, 2 * (kSamplePadding - after), 0});
        points += high - low + kSamplePadding - after;
        if (points > std::numeric_limits<uint32_t>::max() / 2) return std::nullopt;
        subset.sampleBytes_ += 2 * (high - low);
        std::vector<uint8_t> record(h, h + 46);
        for (size_t at : {20, 24, 28, 32}) {
            const int64_t moved = std::max<int64_t>(0, int64_t(Le32(h + at)) + shift);
            PutLe32(record.data() + at, uint32_t(std::min<int64_t>(moved, UINT32_MAX)));
        }
        sampleHeaders.insert(sampleHeaders.end(), record.begin(), record.end());
        newSample[s] = count++;
    }
    // Stereo partners by their new numbers.
    for (size_t s = 0, n = 0; s < samples; ++s) {
        if (newSample[s] < 0) continue;
        uint8_t* record = sampleHeaders.data() + 46 * n++;
        const size_t link = Le16(record + 42);
        PutLe16(record + 42,
                link < samples && newSample[link] >= 0 ? uint32_t(newSample[link]) : 0);
    }

    // The preset data, the zones renumbered.
    std::vector<uint8_t> outPhdr, outPbag, outPmod, outPgen, outInst, outIbag, outImod, outIgen;
    const auto putZones = [](const Kept& kept, const Records& gens, const Records& mods,
                             uint16_t targetGen, const std::vector<int>& renumber,
                             std::vector<uint8_t>& bags, std::vector<uint8_t>& outGens,
                             std::vector<uint8_t>& outMods) {
        for (const Zone& zone : kept.zones) {
            uint8_t bag[4];
            PutLe16(bag, uint32_t(outGens.size() / 4));
            PutLe16(bag + 2, uint32_t(outMods.size() / 10));
            PutRecord(bags, bag, 4);
            for (size_t g = zone.firstGen; g < zone.endGen; ++g) {
                uint8_t gen[4];
                std::memcpy(gen, gens[g], 4);
                if (Le16(gen) == targetGen) PutLe16(gen + 2, uint32_t(renumber[Le16(gen + 2)]));
                PutRecord(outGens, gen, 4);
            }
            for (size_t m = zone.firstMod; m < zone.endMod; ++m) PutRecord(outMods, mods[m], 10);
        }
    };
    for (const Kept& kept : keptPresets) {
        std::vector<uint8_t> record(phdr[kept.owner], phdr[kept.owner] + 38);
        PutLe16(record.data() + 24, uint32_t(outPbag.size() / 4));
        PutRecord(outPhdr, record.data(), 38);
        putZones(kept, pgen, pmod, kInstrumentGen, newInstrument, outPbag, outPgen, outPmod);
    }
    for (const Kept& kept : keptInstruments) {
        std::vector<uint8_t> record(inst[kept.owner], inst[kept.owner] + 22);
        PutLe16(record.data() + 20, uint32_t(outIbag.size() / 4));
        PutRecord(outInst, record.data(), 22);
        putZones(kept, igen, imod, kSampleGen, newSample, outIbag, outIgen, outImod);
    }
    if (outPbag.size() / 4 > 0xffff || outPgen.size() / 4 > 0xffff ||
        outPmod.size() / 10 > 0xffff || outIbag.size() / 4 > 0xffff ||
        outIgen.size() / 4 > 0xffff || outImod.size() / 10 > 0xffff)
        return std::nullopt;
    PutTerminal(outPhdr, 38, "EOP", 24, uint32_t(outPbag.size() / 4));
    PutTerminal(outPbag, 4, nullptr, 0, uint32_t(outPgen.size() / 4));
    PutLe16(outPbag.data() + outPbag.size() - 2, uint32_t(outPmod.size() / 10));
    PutTerminal(outPmod, 10, nullptr, 10, 0);
    PutTerminal(outPgen, 4, nullptr, 4, 0);
    PutTerminal(outInst, 22, "EOI", 20, uint32_t(outIbag.size() / 4));
    PutTerminal(outIbag, 4, nullptr, 0, uint32_t(outIgen.size() / 4));
    PutLe16(outIbag.data() + outIbag.size() - 2, uint32_t(outImod.size() / 10));
    PutTerminal(outImod, 10, nullptr, 10, 0);
    PutTerminal(outIgen, 4, nullptr, 4, 0);
    PutTerminal(sampleHeaders, 46, "EOS", 46, 0);

    std::vector<uint8_t> presetData = {'p', 'd', 't', 'a'};
    PutChunk(presetData, "phdr", outPhdr);
    PutChunk(presetData, "pbag", outPbag);
    PutChunk(presetData, "pmod", outPmod);
    PutChunk(presetData, "pgen", outPgen);
    PutChunk(presetData, "inst", outInst);
    PutChunk(presetData, "ibag", outIbag);
    PutChunk(presetData, "imod", outImod);
    PutChunk(presetData, "igen", outIgen);
    PutChunk(presetData, "shdr", sampleHeaders);

    // RIFF sfbk: INFO as it was, the samples, the preset data.
    const uint64_t sampleDataBytes = 2 * points;
    const uint64_t sdtaBytes = 4 + 8 + sampleDataBytes;
    const uint64_t total = 12 + info.size() + 8 + sdtaBytes + 8 + presetData.size();
    if (total > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    std::vector<uint8_t>& head = subset.head_;
    head = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 's', 'f', 'b', 'k'};
    PutLe32(head.data() + 4, uint32_t(total - 8));
    head.insert(head.end(), info.begin(), info.end());
    const uint8_t sdta[] = {'L', 'I', 'S', 'T', 0,   0,   0, 0, 's', 'd',
                            't', 'a', 's', 'm', 'p', 'l', 0, 0, 0,   0};
    head.insert(head.end(), std::begin(sdta), std::end(sdta));
    PutLe32(head.data() + head.size() - 16, uint32_t(sdtaBytes));
    PutLe32(head.data() + head.size() - 4, uint32_t(sampleDataBytes));
    const uint64_t headBytes = head.size();
    const uint8_t list[] = {'L', 'I', 'S', 'T', 0, 0, 0, 0};
    head.insert(head.end(), std::begin(list), std::end(list));
    PutLe32(head.data() + head.size() - 4, uint32_t(presetData.size()));
    head.insert(head.end(), presetData.begin(), presetData.end());

    uint64_t at = 0;
    subset.pieces_.push_back({Piece::Head, at, headBytes, 0});
    at += headBytes;
    for (Piece piece : samplePieces) {
        piece.at = at;
        at += piece.length;
        if (piece.length) subset.pieces_.push_back(piece);
    }
    subset.pieces_.push_back({Piece::Head, at, head.size() - headBytes, headBytes});
    subset.size_ = at + head.size() - headBytes;
    return subset;
}

bool SoundFontSubset::Read(uint64_t offset, void* out, size_t n) const {
    if (offset > size_ || n > size_ - offset) return false;
    auto* to = static_cast<uint8_t*>(out);
    auto piece = std::upper_bound(pieces_.begin(), pieces_.end(), offset,
                                  [](uint64_t o, const Piece& p) { return o < p.at; });
    for (--piece; n > 0; ++piece) {
        const uint64_t into = offset - piece->at;
        const size_t take = size_t(std::min<uint64_t>(n, piece->length - into));
        switch (piece->kind) {
            case Piece::Head:
                std::memcpy(to, head_.data() + piece->from + into, take);
                break;
            case Piece::Original:
                if (!original_(piece->from + into, to, take)) return false;
                break;
            case Piece::Zeros:
                std::memset(to, 0, take);
                break;
        }
        to += take;
        offset += take;
        n -= take;
    }
    return true;
}

}  // namespace pabuko
