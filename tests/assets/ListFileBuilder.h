#pragma once
// Hand-built image list files for the tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "assets/ObjectStream.h"

namespace pabuko::test {

inline void Append(std::vector<uint8_t>& out, std::initializer_list<uint8_t> bytes) {
    out.insert(out.end(), bytes);
}
inline void Append(std::vector<uint8_t>& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end());
}
inline void Append32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Append16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

// A list file whose "List" collection holds the items `writeItems` writes (each starting
// with BeginItem and ending with End).
inline std::vector<uint8_t> ImageListFile(
    const std::function<void(ObjectStreamWriter&)>& writeItems, bool colorTable = true) {
    ObjectStreamWriter w;
    w.BeginRoot("", "TPictureCollectionComponent");
    if (colorTable) {
        w.Name("List.ColorTable");
        w.Binary(std::vector<uint8_t>(1024, 0));
    }
    w.Name("List");
    w.BeginCollection();
    writeItems(w);
    w.End();
    return w.Finish();
}

// One item with the given picture payload and cell size.
inline std::vector<uint8_t> OneItemFile(const std::vector<uint8_t>& pictureData, int pw, int ph,
                                        bool systemMemory = false, int skipW = 0, int skipH = 0) {
    return ImageListFile([&](ObjectStreamWriter& w) {
        w.BeginItem();
        w.Name("PatternHeight");
        w.Integer(ph);
        w.Name("PatternWidth");
        w.Integer(pw);
        if (!pictureData.empty()) {
            w.Name("Picture.Data");
            w.Binary(pictureData);
        }
        w.Name("SkipHeight");
        w.Integer(skipH);
        w.Name("SkipWidth");
        w.Integer(skipW);
        w.Name("SystemMemory");
        w.Boolean(systemMemory);
        w.Name("Transparent");
        w.Boolean(true);
        w.Name("TransparentColor");
        w.Integer(0xFF00FF);
        w.End();
    });
}

}  // namespace pabuko::test
