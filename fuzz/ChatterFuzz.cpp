// A chatter file (skins/*.qvt): its lines rotate through the LED line as the game shows
// them. What was read writes back to a file that reads the same, and every line parses and
// draws.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "assets/Chatter.h"
#include "display/VrMatrixCore.h"

using namespace pabuko;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = ReadChatterLines(bytes);
    size_t total = 0;
    for (const auto& line : lines) total += line.size();
    if (total > size) std::abort();
    // The line ends and the zero byte are plain in the file, so every read byte can be
    // stored again.
    if (ReadChatterLines(WriteChatterFile(lines)) != lines) std::abort();

    ChatterState chatter;
    chatter.SetLines(lines);
    if (chatter.ChatterCount == 0 || chatter.ChatterCount > chatter.ChatterLines.size())
        std::abort();

    // The game's LED line: 24 cells, upper case, scrolling right to left.
    TVrMatrixCore led;
    led.SetLeds(24);
    led.SetPalette({0x008080, 0x00FFFF});
    led.Loaded();
    led.SetAutoScroll(true);  // else drawing puts the text back to its start
    led.SetText(chatter.Current());
    for (int n = 0; n < chatter.ChatterCount; ++n) {
        const auto& parsed = led.Parsed();
        if (parsed.Shown.size() != parsed.Codes.size() ||
            parsed.Shown.size() > chatter.Current().size())
            std::abort();
        // Drawing costs: the first line is drawn where it enters, halfway and at its end.
        const bool draw = n == 0;
        bool done = false;
        led.OnScrollDone = [&] { done = true; };
        const auto half = static_cast<int32_t>(parsed.Shown.size() / 2);
        if (draw) led.Paint();
        while (!done) {
            led.ScrollStep();
            if (draw && (led.Position() == half || led.Position() == int32_t(parsed.Shown.size())))
                led.Paint();
        }
        led.SetText(chatter.Advance());
    }
    // After the counted lines the rotation starts over.
    if (chatter.ChatterIndex != 0) std::abort();
    return 0;
}
