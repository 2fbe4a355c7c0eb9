// The rules on any state a damaged level file or a script can produce, driven by any
// sequence of frames, keys, level starts and ends. Nothing may read outside the well,
// the stacks or the level table, and the falling tile must stay in the well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Game.h"
#include "core/WindowlessHost.h"

namespace {

using namespace pabuko;

class Bytes {
  public:
    Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return pos_ >= size_; }
    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Next16() {
        const uint8_t low = Next();
        return static_cast<uint16_t>(low | (Next() << 8));
    }
    uint32_t Next32() {
        const uint16_t low = Next16();
        return low | static_cast<uint32_t>(Next16()) << 16;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

class FuzzSeeds : public SeedSource {
  public:
    uint32_t seed = 0;
    uint32_t NextSeed() override { return seed += 0x9E3779B9u; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes in(data, size);
    GameState state;
    WindowlessHost host;
    host.recordCalls = false;
    ManualClock clock;
    FuzzSeeds seeds;
    LevelTableAsIs levelSets;
    TopListInMemory topList;
    Game game(state, host, clock, seeds, levelSets, topList);
    host.game = &game;

    // A level table as a bad file could leave it: any count, words of any length.
    state.Levels.LevelCount = in.Next();
    state.Levels.LevelSetName = in.Next() % 2 ? "new" : "jine";
    const int records = in.Next() % 8;
    for (int i = 0; i < records; ++i) {
        TLevel& l = state.Levels[1 + in.Next() % kMaxLevels];
        l.Word.assign(in.Next() % 20, static_cast<char>(in.Next()));
        l.TileCount = in.Next16();
        l.RowDelay = in.Next16();
        l.SpawnScore = static_cast<int8_t>(in.Next());
        l.ColumnScore = static_cast<int8_t>(in.Next());
        l.SameLetterScore = in.Next();
        l.RightAnswer = in.Next();
        l.QuizScore = in.Next16();
        l.Stacked36Score = in.Next16();
    }
    seeds.seed = in.Next16();
    game.StartLevel(in.Next());

    while (!in.Empty()) {
        const uint8_t op = in.Next();
        switch (op % 12) {
            case 0:
            case 1:
            case 2:
            case 3: {  // frames, with keys
                const SteerKeys keys{(op & 0x10) != 0, (op & 0x20) != 0, (op & 0x40) != 0};
                for (int i = 0; i < 1 + (op >> 6); ++i) {
                    clock.now += 40;
                    if (!host.timer) break;
                    const bool steers = state.InputFrame;
                    game.FrameStep([&] { return keys; });
                    // Steering brings any tile back into the well (a pushed one is replaced).
                    if (steers && host.timer &&
                        (state.Falling.Column < 0 || state.Falling.Column > 11 ||
                         state.Falling.Row > 17)) {
                        std::abort();
                    }
                }
                break;
            }
            case 4:
                game.StartLevel(in.Next());
                break;
            case 5:
                game.EndLevel(in.Next());
                break;
            case 6:  // a cell of the well or a stack slot, any code
                state.Well[in.Next() % kWellColumns][in.Next() % kWellRows] = in.Next();
                break;
            case 7:
                (op & 0x10 ? state.LeftStack : state.RightStack)[in.Next() % kStackSlots] =
                    in.Next();
                break;
            case 8:  // the falling tile anywhere
            {
                const uint8_t code = in.Next();
                const auto column = static_cast<int8_t>(in.Next());
                state.Falling = {code, column, in.Next()};
            } break;
            case 9:  // counters as a script may set them
                state.Score = static_cast<int32_t>(in.Next32());
                state.Lives = in.Next();
                state.TilesLeft = in.Next16();
                state.WordLength = in.Next();
                state.Level = in.Next();
                break;
            case 10:
                host.answer = in.Next() % 6;
                host.name.assign(static_cast<size_t>(host.answer) * 9, 'x');
                host.canDraw = (op & 0x10) == 0;
                game.SpawnTile();
                break;
            case 11:
                clock.now += in.Next16();
                game.FallStep();
                game.CheckLevelEnd();
                break;
        }
    }
    return 0;
}
