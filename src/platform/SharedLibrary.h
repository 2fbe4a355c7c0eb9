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

// A table of a library's functions is a struct of one pointer per name of its list:
//   struct Table { LIST(PABUKO_LIBRARY_POINTER) };
// filled by PABUKO_OPEN_TABLE (below).
#define PABUKO_LIBRARY_POINTER(name) decltype(&::name) name = nullptr;
#define PABUKO_LIBRARY_BIND(name) all = ::pabuko::BindFunction(handle, table.name, #name) && all;

// Opens the library of that soname and fills `table` through `bind(handle, table)`; the
// table when the library opened and every function was found, else null.
template <class Table, class Bind>
const Table* OpenTable(const char* soname, Table& table, Bind bind) {
    void* handle = OpenLibrary(soname);
    return handle && bind(handle, table) ? &table : nullptr;
}

}  // namespace pabuko

// The table of type `Table`, filled with the functions of LIST from the library of `soname`;
// null when it cannot be opened or lacks one of them. Each use keeps a table of its own:
//   static const Table* const library = PABUKO_OPEN_TABLE(SONAME, Table, LIST);
#define PABUKO_OPEN_TABLE(soname, Table, LIST)                                       \
    [] {                                                                             \
        static Table storage;                                                        \
        return ::pabuko::OpenTable(soname, storage, [](void* handle, Table& table) { \
            bool all = true;                                                         \
            LIST(PABUKO_LIBRARY_BIND)                                                \
            return all;                                                              \
        });                                                                          \
    }()
