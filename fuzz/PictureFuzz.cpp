// Picture payloads, BMP files and bare DIBs.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "assets/ObjectStream.h"
#include "assets/Picture.h"

namespace {
void Check(const pabuko::Picture& pic) {
    if (pic.width < 0 || pic.height < 0) std::abort();
    if (!pic.pixels.empty() &&
        pic.pixels.size() != static_cast<size_t>(pic.width) * static_cast<size_t>(pic.height)) {
        std::abort();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    using namespace pabuko;
    try {
        Check(DecodePictureData(bytes));
    } catch (const StreamError&) {
    }
    try {
        Check(DecodeBmpFile(bytes));
    } catch (const StreamError&) {
    }
    try {
        Check(DecodeDib(bytes));
    } catch (const StreamError&) {
    }
    return 0;
}
