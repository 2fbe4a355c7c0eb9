// pabuko-tool art render OUTDIR: paints the shipped pictures into PNG files.
// pabuko-tool art preview PNGDIR OUT.png: lays the skin's pictures out as the playfield drawing
// does, with a sample game, so the skin can be looked at as a player sees it.
#include <QDir>
#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "ArtStyle.h"
#include "ToolCommands.h"

namespace pabuko::art {

namespace {

// Fonts need a GUI application; the tool has none of its own.
void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pabuko-tool";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

int Render(const std::string& outDir) {
    EnsureGuiApplication();
    const QString dir = QString::fromStdString(outDir);
    if (!QDir().mkpath(dir)) {
        std::cerr << "art render: cannot make " << outDir << '\n';
        return 1;
    }
    auto pictures = RenderScreenPictures();
    for (auto& picture : RenderSkinPictures()) pictures.push_back(std::move(picture));
    for (const auto& picture : pictures) {
        const QString path = dir + QLatin1Char('/') + QString::fromStdString(picture.file);
        if (!picture.image.save(path, "PNG")) {
            std::cerr << "art render: cannot write " << path.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}

// A colour-keyed or plain copy of one cell, as the image list draws a pattern.
void DrawCell(QImage& dest, const QImage& src, int cell, int cellWidth, int x, int y, bool keyed) {
    const int cellHeight = src.height();
    for (int row = 0; row < cellHeight; ++row) {
        const int dy = y + row;
        if (dy < 0 || dy >= dest.height()) continue;
        const QRgb* from = reinterpret_cast<const QRgb*>(src.constScanLine(row)) + cell * cellWidth;
        QRgb* to = reinterpret_cast<QRgb*>(dest.scanLine(dy));
        for (int col = 0; col < cellWidth; ++col) {
            const int dx = x + col;
            if (dx < 0 || dx >= dest.width()) continue;
            if (keyed && (from[col] | 0xFF000000) == kKey) continue;
            to[dx] = from[col] | 0xFF000000;
        }
    }
}

int Preview(const std::string& pngDir, const std::string& out, const std::string& word, int scale) {
    EnsureGuiApplication();
    const QString dir = QString::fromStdString(pngDir) + QLatin1Char('/');
    QImage items[6];
    const char* files[6] = {"skin-new-0-background.png", "skin-new-1-life.png",
                            "skin-new-2-letters.png",    "skin-new-3-specials.png",
                            "skin-new-4-barrier.png",    "skin-new-5-left.png"};
    for (int i = 0; i < 6; ++i) {
        items[i] = QImage(dir + QLatin1String(files[i])).convertToFormat(QImage::Format_RGB32);
        if (items[i].isNull()) {
            std::cerr << "art preview: cannot read " << (dir + files[i]).toStdString() << '\n';
            return 1;
        }
    }
    if (word.empty() || word.size() > 12) {
        std::cerr << "art preview: the word must have 1 to 12 characters\n";
        return 1;
    }
    const int length = int(word.size());
    const int x0 = 222 - 15 * length;
    auto tile = [&](QImage& dest, int code, int x, int y) {
        if (code >= 1 && code <= 26) DrawCell(dest, items[2], code - 1, 15, x, y, true);
        if (code >= 27 && code <= 38) DrawCell(dest, items[3], code - 27, 15, x, y, true);
    };

    QImage frame(400, 300, QImage::Format_RGB32);
    frame.fill(Qt::black);
    DrawCell(frame, items[0], 0, 400, 0, 0, false);
    DrawCell(frame, items[5], 0, 160, x0 - 160, 0, false);
    // A sample game: the left stack full (barrier shown), the right one half full.
    const int leftStack[9] = {27, 3, 35, 36, 37, 32, 14, 31, 38};
    const int rightStack[9] = {28, 29, 30, 33, 34, 0, 0, 0, 0};
    DrawCell(frame, items[4], 0, items[4].width(), x0 - 10, 60, true);
    {
        QPainter p(&frame);
        p.setFont(ArtFont(16, true));
        p.setPen(kInk);
        auto counter = [&](int x, int y, int value) {
            p.drawText(QRect(x, y, 200, 40), Qt::AlignLeft | Qt::AlignTop, QString::number(value));
        };
        counter(277, 124, 12480);
        counter(277, 164, 87);
        counter(326, 220, 3);
        counter(277, 261, 45210);
    }
    for (int k = 0; k < 4; ++k)
        DrawCell(frame, items[1], 0, items[1].width(), 275 + 22 * k, 200, true);
    for (int i = 0; i < length; ++i)
        if (word[i] >= 'A' && word[i] <= 'Z') tile(frame, word[i] - 'A' + 1, x0 + 15 * i, 275);
    // Columns filled from the bottom with a few letters each.
    Dice dice(3);
    for (int c = 12 - length; c < 12; ++c) {
        const int height = int(dice.Range(0, 6));
        for (int r = 17; r > 17 - height; --r)
            tile(frame, 1 + int(dice.Range(0, 26)), 15 * c + 42, 15 * r);
    }
    for (int s = 0; s < 9; ++s) {
        tile(frame, leftStack[s], x0 - 26, 226 - 15 * s);
        tile(frame, rightStack[s], 233, 226 - 15 * s);
    }
    tile(frame, word.empty() ? 1 : 16, 15 * (12 - length / 2) + 42 - 15, 15 * 5);

    if (scale > 1)
        frame =
            frame.scaled(400 * scale, 300 * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!frame.save(QString::fromStdString(out), "PNG")) {
        std::cerr << "art preview: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}

const tool::Registrar reg([](CLI::App& app) {
    auto* art = app.add_subcommand("art", "Paint the shipped pictures");
    art->require_subcommand(1);

    auto* render = art->add_subcommand("render", "Paint every shipped picture into OUTDIR as PNG");
    static std::string renderDir;
    render->add_option("OUTDIR", renderDir, "Folder for the PNG files")->required();
    render->callback([] { tool::SetExitCode(Render(renderDir)); });

    auto* preview =
        art->add_subcommand("preview", "Lay the skin out as a playfield with a sample game");
    static std::string previewDir, previewOut, previewWord = "PABUK";
    static int previewScale = 1;
    preview->add_option("PNGDIR", previewDir, "Folder written by art render")->required();
    preview->add_option("OUT", previewOut, "PNG file to write")->required();
    preview->add_option("--word", previewWord, "Target word (1-12 letters A-Z and spaces)");
    preview->add_option("--scale", previewScale, "Enlarge the picture this many times")
        ->check(CLI::Range(1, 8));
    preview->callback(
        [] { tool::SetExitCode(Preview(previewDir, previewOut, previewWord, previewScale)); });
});

}  // namespace

}  // namespace pabuko::art
