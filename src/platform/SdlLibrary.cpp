#include "platform/SdlLibrary.h"

#include <atomic>

#include "platform/SharedLibrary.h"

namespace pabuko {
namespace {

std::atomic<const SdlLibrary*> opened{nullptr};

}  // namespace

const SdlLibrary* Sdl() {
    static SdlLibrary table;
    static const SdlLibrary* const library =
        OpenTable(PABUKO_SDL_SONAME, table, [](void* handle, SdlLibrary& table) {
            bool all = true;
            PABUKO_SDL_FUNCTIONS(PABUKO_LIBRARY_BIND)
            if (all) opened = &table;
            return all;
        });
    return library;
}

void QuitSdl() {
    if (const SdlLibrary* sdl = opened.load()) sdl->SDL_Quit();
}

}  // namespace pabuko
