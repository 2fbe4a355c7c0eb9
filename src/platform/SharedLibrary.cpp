#include "platform/SharedLibrary.h"

#include <dlfcn.h>

namespace pabuko {

void* OpenLibrary(const char* soname) {
    // Local: the game reaches the functions only through its tables.
    return dlopen(soname, RTLD_NOW | RTLD_LOCAL);
}

void* LibrarySymbol(void* library, const char* name) {
    return library ? dlsym(library, name) : nullptr;
}

}  // namespace pabuko
