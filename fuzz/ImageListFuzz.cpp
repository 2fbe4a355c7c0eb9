// An image list file: load, build the surfaces, draw, and write it back.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "assets/ImageList.h"
#include "assets/ObjectStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pabuko;
    // One back buffer for the whole run: making it per input would cost more than the rest.
    static DrawingSurface surface;
    if (!surface.Initialized()) surface.Initialize();
    // A million pixels a file, not sixteen: a file at the game's limit takes seconds to fill
    // under the sanitizers, and the budget's checks are the same at any size.
    constexpr int64_t kFuzzPixels = int64_t{1} << 20;
    ImageList list;
    list.Items.PixelLimit = kFuzzPixels;
    list.SetDXDraw(&surface);
    bool loaded = true;
    try {
        list.Items.LoadFromStream(std::span<const uint8_t>(data, size));
    } catch (const StreamError&) {
        loaded = false;
        // What a failed load kept must still restore and draw safely.
        list.Items.Initialize(surface);
        list.Items.Restore();
    }
    Surface& back = surface.BackBuffer();
    for (int i = 0; i < list.Items.Count(); ++i) {
        const PictureCollectionItem& item = list.Items[i];
        const int64_t count = item.PatternCount();
        for (int64_t k : {int64_t{-1}, int64_t{0}, int64_t{1}, count / 2, count - 1, count}) {
            // Every pattern lies in a surface that exists.
            if (k >= 0 && k < count && item.PatternSurface(k) >= item.Surfaces().size()) {
                std::abort();
            }
            for (int pos : {-20, 0, 7, 395}) item.Draw(back, pos, pos - 3, static_cast<int>(k));
        }
    }
    if (loaded) {
        // Whatever we read, we write so that it reads again the same.
        PictureCollection again;
        again.PixelLimit = kFuzzPixels;
        again.LoadFromStream(list.Items.SaveToStream());
        if (again.Count() != list.Items.Count()) std::abort();
    }
    return 0;
}
