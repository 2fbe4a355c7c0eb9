#pragma once
// Small SoundFont 2 files for the tests and the fuzzer's seeds: presets of zones on
// instruments, instruments of zones on samples, each zone a key range.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pabuko::test {

struct TinyZone {
    int lowKey = 0, highKey = 127;
    int target = 0;  // the instrument (of a preset) or sample (of an instrument); -1: global
};
struct TinyPreset {
    int bank = 0, program = 0;
    std::vector<TinyZone> zones;
};
struct TinySample {
    std::vector<int16_t> points;
    uint16_t type = 1;  // mono; 0x8000 marks a ROM sample
};

inline std::vector<uint8_t> TinySoundFont(const std::vector<TinyPreset>& presets,
                                          const std::vector<std::vector<TinyZone>>& instruments,
                                          const std::vector<TinySample>& samples) {
    auto le = [](std::vector<uint8_t>& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(i < 4 ? uint8_t(v >> (8 * i)) : 0);
    };
    auto name = [](std::vector<uint8_t>& out, const std::string& n) {
        for (size_t i = 0; i < 20; ++i) out.push_back(i < n.size() ? uint8_t(n[i]) : 0);
    };
    auto chunk = [&](std::vector<uint8_t>& out, const char* id, const std::vector<uint8_t>& b) {
        out.insert(out.end(), id, id + 4);
        le(out, uint32_t(b.size()), 4);
        out.insert(out.end(), b.begin(), b.end());
        if (b.size() % 2) out.push_back(0);
    };
    // Zones as bags and generators: a key range, then the target (none in a global zone).
    auto zones = [&](const std::vector<TinyZone>& list, uint16_t targetGen,
                     std::vector<uint8_t>& bags, std::vector<uint8_t>& gens) {
        for (const TinyZone& z : list) {
            le(bags, uint32_t(gens.size() / 4), 2);
            le(bags, 0, 2);
            le(gens, 43, 2);
            gens.push_back(uint8_t(z.lowKey));
            gens.push_back(uint8_t(z.highKey));
            if (z.target >= 0) {
                le(gens, targetGen, 2);
                le(gens, uint32_t(z.target), 2);
            }
        }
    };
    std::vector<uint8_t> phdr, pbag, pgen, inst, ibag, igen, shdr, smpl;
    for (const TinyPreset& p : presets) {
        name(phdr, "preset");
        le(phdr, uint32_t(p.program), 2);
        le(phdr, uint32_t(p.bank), 2);
        le(phdr, uint32_t(pbag.size() / 4), 2);
        le(phdr, 0, 4 * 3);
        zones(p.zones, 41, pbag, pgen);
    }
    name(phdr, "EOP");
    le(phdr, 0, 4);
    le(phdr, uint32_t(pbag.size() / 4), 2);
    le(phdr, 0, 4 * 3);
    for (const auto& zs : instruments) {
        name(inst, "instrument");
        le(inst, uint32_t(ibag.size() / 4), 2);
        zones(zs, 53, ibag, igen);
    }
    name(inst, "EOI");
    le(inst, uint32_t(ibag.size() / 4), 2);
    le(pbag, uint32_t(pgen.size() / 4), 2);
    le(pbag, 0, 2);
    le(ibag, uint32_t(igen.size() / 4), 2);
    le(ibag, 0, 2);
    le(pgen, 0, 4);
    le(igen, 0, 4);
    for (const TinySample& s : samples) {
        const auto start = uint32_t(smpl.size() / 2);
        for (int16_t v : s.points) le(smpl, uint16_t(v), 2);
        const auto end = uint32_t(smpl.size() / 2);
        le(smpl, 0, 2 * 46);
        name(shdr, "sample");
        for (uint32_t v : {start, end, start + 1, end - 1, 22050u}) le(shdr, v, 4);
        shdr.push_back(60);
        shdr.push_back(0);
        le(shdr, 0, 2);
        le(shdr, s.type, 2);
    }
    name(shdr, "EOS");
    le(shdr, 0, 26);

    std::vector<uint8_t> info{'I', 'N', 'F', 'O'}, sdta{'s', 'd', 't', 'a'},
        pdta{'p', 'd', 't', 'a'};
    chunk(info, "ifil", {2, 0, 1, 0});
    chunk(info, "isng", {'E', 'M', 'U', '8', '0', '0', '0', 0});
    chunk(info, "INAM", {'T', 'i', 'n', 'y', 0, 0});
    chunk(sdta, "smpl", smpl);
    chunk(pdta, "phdr", phdr);
    chunk(pdta, "pbag", pbag);
    chunk(pdta, "pmod", std::vector<uint8_t>(10, 0));
    chunk(pdta, "pgen", pgen);
    chunk(pdta, "inst", inst);
    chunk(pdta, "ibag", ibag);
    chunk(pdta, "imod", std::vector<uint8_t>(10, 0));
    chunk(pdta, "igen", igen);
    chunk(pdta, "shdr", shdr);
    std::vector<uint8_t> body{'s', 'f', 'b', 'k'};
    chunk(body, "LIST", info);
    chunk(body, "LIST", sdta);
    chunk(body, "LIST", pdta);
    std::vector<uint8_t> file;
    chunk(file, "RIFF", body);
    return file;
}

}  // namespace pabuko::test
