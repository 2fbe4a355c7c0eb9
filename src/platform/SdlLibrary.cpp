#include "platform/SdlLibrary.h"

#include <atomic>

#include "platform/SharedLibrary.h"

namespace pabuko {
namespace {

std::atomic<const SdlLibrary*> opened{nullptr};

}  // namespace

const SdlLibrary* Sdl() {
    static const SdlLibrary* const library = [] {
        const SdlLibrary* sdl =
            PABUKO_OPEN_TABLE(PABUKO_SDL_SONAME, SdlLibrary, PABUKO_SDL_FUNCTIONS);
        opened = sdl;
        return sdl;
    }();
    return library;
}

void QuitSdl() {
    if (const SdlLibrary* sdl = opened.load()) sdl->SDL_Quit();
}

}  // namespace pabuko
