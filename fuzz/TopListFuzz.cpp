// toplist.dat is untrusted: any bytes give ten entries with names of at most 20 bytes, and
// a list read from a whole file writes back to bytes that read the same again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "endgame/TopListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const pabuko::TopListEntries entries = pabuko::DecodeTopList(bytes);
    for (const auto& e : entries)
        if (e.Name.size() > pabuko::kTopListNameMax) std::abort();
    const std::string again = pabuko::EncodeTopList(entries);
    if (again.size() != pabuko::kTopListFileSize) std::abort();
    const pabuko::TopListEntries back = pabuko::DecodeTopList(again);
    for (size_t i = 0; i < entries.size(); ++i)
        if (back[i].Name != entries[i].Name || back[i].Points != entries[i].Points) std::abort();
    return 0;
}
