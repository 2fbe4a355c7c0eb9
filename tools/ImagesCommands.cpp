// pabuko-tool images pack MANIFEST OUT: builds an image list file (data/screen.src,
// data/skins/*.qvs) from a JSON manifest and PNG/BMP pictures.
// pabuko-tool images dump FILE [--png DIR]: prints an image list file as JSON.
// pabuko-tool images cells FILE ITEM --png DIR [--prefix NAME]: writes each pattern cell of
// one item as DIR/NAME-<k>.png (the help page shows the skin's tiles this way).
//
// Manifest (paths relative to the manifest; see content/README-manifests.md):
//   { "ResourceName": "PABUKO",
//     "items": [ { "Name": "pismena", "PatternWidth": 15, "PatternHeight": 15,
//                  "SkipWidth": 0, "SkipHeight": 0, "SystemMemory": false,
//                  "Transparent": true, "TransparentColor": "#FF00FF",
//                  "Picture": { "File": "letters.png", "Kind": "TBitmap", "BitCount": 24 } } ] }
// TransparentColor: a number (0x00BBGGRR), "#RRGGBB" or a name such as "clFuchsia".
// Picture.Kind: "TBitmap" (whole BMP file, the default) or "TDIB"; BitCount 24 (default),
// 32 or 8 (a palette of the picture's colours). No "Picture": the item has none.
#include <QDir>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "ToolCommands.h"
#include "assets/ImageList.h"
#include "assets/ObjectStream.h"
#include "platform/TextEncoding.h"

namespace pabuko::tool {

namespace {

using nlohmann::json;
namespace fs = std::filesystem;

uint32_t ParseColor(const json& value) {
    if (value.is_number_integer()) {
        return static_cast<uint32_t>(value.get<int64_t>());
    }
    if (!value.is_string()) throw std::runtime_error("TransparentColor: a number or a string");
    const std::string s = value.get<std::string>();
    if (s.size() == 7 && s[0] == '#') {
        const uint32_t rgb = static_cast<uint32_t>(std::stoul(s.substr(1), nullptr, 16));
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    uint32_t color = 0;
    if (!ColorFromIdent(s, color)) throw std::runtime_error("unknown colour " + s);
    return color;
}

std::vector<uint8_t> PictureFromFile(const fs::path& file, const std::string& kind, int bitCount) {
    QImage image(QString::fromStdString(file.string()));
    if (image.isNull()) throw std::runtime_error("cannot read picture " + file.string());
    image = image.convertToFormat(QImage::Format_RGB32);
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
        pixels.insert(pixels.end(), line, line + image.width());
    }
    if (kind == "TBitmap") {
        return PictureDataFromBmp(EncodeBmpFile(image.width(), image.height(), pixels, bitCount));
    }
    if (kind == "TDIB") {
        return PictureDataFromDib(EncodeDib(image.width(), image.height(), pixels, bitCount));
    }
    throw std::runtime_error("Picture.Kind must be TBitmap or TDIB, not " + kind);
}

int Pack(const std::string& manifestPath, const std::string& outPath) {
    std::ifstream in(manifestPath);
    if (!in) {
        std::cerr << "images pack: cannot open " << manifestPath << '\n';
        return 1;
    }
    const json manifest = json::parse(in);
    const fs::path base = fs::path(manifestPath).parent_path();

    PictureCollection list;
    for (const json& entry : manifest.at("items")) {
        PictureCollectionItem& item = list.Add();
        item.Name = Utf8ToCp1250Lossy(entry.value("Name", std::string()));
        item.PatternWidth = entry.value("PatternWidth", 0);
        item.PatternHeight = entry.value("PatternHeight", 0);
        item.SkipWidth = entry.value("SkipWidth", 0);
        item.SkipHeight = entry.value("SkipHeight", 0);
        item.SystemMemory = entry.value("SystemMemory", false);
        item.Transparent = entry.value("Transparent", true);
        if (entry.contains("TransparentColor")) {
            item.SetTransparentColor(ParseColor(entry["TransparentColor"]));
        }
        if (entry.contains("Picture")) {
            const json& p = entry["Picture"];
            const std::vector<uint8_t> data =
                PictureFromFile(base / p.at("File").get<std::string>(),
                                p.value("Kind", std::string("TBitmap")), p.value("BitCount", 24));
            // Decoding what we wrote proves that the game will read it.
            item.picture = DecodePictureData(data);
        }
    }

    const std::vector<uint8_t> bytes = list.SaveToStream(manifest.value("ResourceName", "PABUKO"));
    std::ofstream out(outPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::cerr << "images pack: cannot write " << outPath << '\n';
        return 1;
    }
    return 0;
}

json RectJson(const Rect& r) {
    return json::array({r.x, r.y, r.w, r.h});
}

int Dump(const std::string& path, const std::string& pngDir) {
    DrawingSurface surface;
    surface.Initialize();
    ImageList list;
    list.SetDXDraw(&surface);

    json result;
    bool failed = false;
    try {
        list.Items.LoadFromFile(path);
    } catch (const StreamError& e) {
        result["error"] = e.what();
        failed = true;
    }
    // Items kept from a failed load are not initialized; build their patterns as a
    // restore would, to show them.
    list.Items.Initialize(surface);
    list.Items.Restore();

    if (!pngDir.empty()) QDir().mkpath(QString::fromStdString(pngDir));
    json items = json::array();
    for (int i = 0; i < list.Items.Count(); ++i) {
        const PictureCollectionItem& item = list.Items[i];
        json patterns = json::array();
        for (int64_t k = 0; k < item.PatternCount(); ++k)
            patterns.push_back(RectJson(item.PatternRect(k)));
        json surfaces = json::array();
        for (const Rect& r : item.SurfaceRects()) surfaces.push_back(RectJson(r));
        items.push_back({
            {"Name", Cp1250ToUtf8(item.Name)},
            {"PatternWidth", item.PatternWidth},
            {"PatternHeight", item.PatternHeight},
            {"SkipWidth", item.SkipWidth},
            {"SkipHeight", item.SkipHeight},
            {"SystemMemory", item.SystemMemory},
            {"Transparent", item.Transparent},
            {"TransparentColor", item.TransparentColor()},
            {"Picture",
             {{"Kind", std::string(item.picture.KindName())},
              {"Width", item.picture.width},
              {"Height", item.picture.height}}},
            {"Patterns", patterns},
            {"Surfaces", surfaces},
        });
        const Picture& p = item.picture;
        if (!pngDir.empty() && p.width > 0 && p.height > 0) {
            const QImage image(reinterpret_cast<const uchar*>(p.pixels.data()), p.width, p.height,
                               p.width * 4, QImage::Format_RGB32);
            const QString file =
                QString::fromStdString(pngDir) + QStringLiteral("/item%1.png").arg(i);
            if (!image.save(file, "PNG")) {
                std::cerr << "images dump: cannot write " << file.toStdString() << '\n';
                failed = true;
            }
        }
    }
    result["items"] = items;
    std::cout << result.dump(2) << '\n';
    return failed ? 1 : 0;
}

int Cells(const std::string& path, int itemIndex, const std::string& pngDir,
          const std::string& prefix) {
    DrawingSurface surface;
    surface.Initialize();
    ImageList list;
    list.SetDXDraw(&surface);
    try {
        list.Items.LoadFromFile(path);
    } catch (const StreamError& e) {
        std::cerr << "images cells: " << path << ": " << e.what() << '\n';
        return 1;
    }
    if (itemIndex < 0 || itemIndex >= list.Items.Count()) {
        std::cerr << "images cells: " << path << " has no item " << itemIndex << '\n';
        return 1;
    }
    const PictureCollectionItem& item = list.Items[itemIndex];
    const Picture& p = item.picture;
    if (p.width <= 0 || p.height <= 0) {
        std::cerr << "images cells: item " << itemIndex << " has no picture\n";
        return 1;
    }
    QImage image = QImage(reinterpret_cast<const uchar*>(p.pixels.data()), p.width, p.height,
                          p.width * 4, QImage::Format_RGB32)
                       .convertToFormat(QImage::Format_ARGB32);
    // The colour key becomes real transparency, so a page shows the tile as the game does.
    if (item.Transparent) {
        const QRgb key = PixelFromColor(item.TransparentColor()) | 0xFF000000u;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if (line[x] == key) line[x] = 0;
        }
    }
    QDir().mkpath(QString::fromStdString(pngDir));
    for (int64_t k = 0; k < item.PatternCount(); ++k) {
        const Rect r = item.PatternRect(k);
        const QString file =
            QString::fromStdString(pngDir + "/" + prefix) + QStringLiteral("-%1.png").arg(k);
        if (!image.copy(r.x, r.y, r.w, r.h).save(file, "PNG")) {
            std::cerr << "images cells: cannot write " << file.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}

const Registrar reg([](CLI::App& app) {
    auto* images = app.add_subcommand("images", "Image list files (*.src, skins *.qvs)");
    images->require_subcommand(1);

    auto* pack = images->add_subcommand("pack", "Build an image list file from a JSON manifest");
    static std::string manifest, out;
    pack->add_option("MANIFEST", manifest, "JSON manifest")->required();
    pack->add_option("OUT", out, "image list file to write")->required();
    pack->callback([] { SetExitCode(Pack(manifest, out)); });

    auto* dump = images->add_subcommand("dump", "Print an image list file as JSON");
    static std::string file, pngDir;
    dump->add_option("FILE", file, "image list file")->required();
    dump->add_option("--png", pngDir, "also write DIR/item<i>.png of each picture");
    dump->callback([] { SetExitCode(Dump(file, pngDir)); });

    auto* cells = images->add_subcommand("cells", "Write the pattern cells of one item as PNGs");
    static std::string cellsFile, cellsDir, prefix = "cell";
    static int item = 0;
    cells->add_option("FILE", cellsFile, "image list file")->required();
    cells->add_option("ITEM", item, "item index")->required();
    cells->add_option("--png", cellsDir, "folder for NAME-<k>.png")->required();
    cells->add_option("--prefix", prefix, "file name before -<k>.png");
    cells->callback([] { SetExitCode(Cells(cellsFile, item, cellsDir, prefix)); });
});

}  // namespace

}  // namespace pabuko::tool
