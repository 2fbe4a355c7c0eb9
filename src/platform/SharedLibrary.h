#pragma once
// Libraries the game opens when it first needs them rather than when it loads: the window
// comes up before the sound libraries, and the dozens of libraries they pull in, are mapped.
// Each library's functions sit in a table of pointers typed from its own header, so a call
// through the table is checked by the compiler like a direct call.
namespace pabuko {

// Opens the library of that soname once for the process (it stays open); null when it
// cannot be opened.
void* OpenLibrary(const char* soname);

// The address of `name` in `library`; null when it has no such symbol.
void* LibrarySymbol(void* library, const char* name);

// Sets `function` to `name` from `library`; false when there is no such function.
template <class Function>
bool BindFunction(void* library, Function*& function, const char* name) {
    function = reinterpret_cast<Function*>(LibrarySymbol(library, name));
    return function != nullptr;
}

}  // namespace pabuko
