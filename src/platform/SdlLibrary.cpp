#include "platform/SdlLibrary.h"

#include <atomic>

#include "platform/SharedLibrary.h"

namespace pabuko {
namespace {

std::atomic<const SdlLibrary*> opened{nullptr};

}  // namespace

const SdlLibrary* Sdl() {
    static const SdlLibrary* const library = []() -> const SdlLibrary* {
        static SdlLibrary table;
        void* handle = OpenLibrary(PABUKO_SDL_SONAME);
        if (!handle) return nullptr;
        bool all = true;
#define PABUKO_SDL_BIND(name) all = BindFunction(handle, table.name, #name) && all;
        PABUKO_SDL_FUNCTIONS(PABUKO_SDL_BIND)
#undef PABUKO_SDL_BIND
        if (!all) return nullptr;
        opened = &table;
        return &table;
    }();
    return library;
}

void QuitSdl() {
    if (const SdlLibrary* sdl = opened.load()) sdl->SDL_Quit();
}

}  // namespace pabuko
