// pabuko-tool art render OUTDIR: paints the shipped pictures into PNG files.
// pabuko-tool art preview SKIN.qvs OUT.png: draws a sample game with a skin file through the
// game's own playfield drawing, so a skin can be looked at as a player sees it.
// pabuko-tool art preview-toplist PNGDIR OUT.png: sample entries over the top list picture.
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <cmath>
#include <iostream>
#include <memory>

#include "ArtStyle.h"
#include "ToolCommands.h"
#include "assets/ImageList.h"
#include "core/Playfield.h"
#include "display/Surface.h"

namespace pabuko::art {

namespace {

using pabuko::DrawingSurface;
using pabuko::GameState;
using pabuko::ImageList;
using pabuko::Surface;
using pabuko::TextCanvas;

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

// The counters' text, drawn as the game's canvas draws it: Arial at 96 dots per inch, (x, y)
// the top of the text cell.
class PreviewCanvas : public TextCanvas {
  public:
    explicit PreviewCanvas(Surface& surface)
        : image_(reinterpret_cast<uchar*>(surface.Pixels()), surface.Width(), surface.Height(),
                 surface.Width() * 4, QImage::Format_RGB32) {}
    void TextOut(int x, int y, const std::string& text) override {
        if (!painter_.isActive()) painter_.begin(&image_);
        QFont font(QString::fromStdString(Font.name));
        font.setPixelSize(int(std::lround(Font.size * 96.0 / 72.0)));
        font.setBold(Font.bold);
        painter_.setFont(font);
        painter_.setPen(
            QColor(Font.color & 0xFF, (Font.color >> 8) & 0xFF, (Font.color >> 16) & 0xFF));
        painter_.drawText(QPoint(x, y + QFontMetrics(font).ascent()), QString::fromLatin1(text));
    }
    void Release() override {
        if (painter_.isActive()) painter_.end();
    }

  private:
    QImage image_;
    QPainter painter_;
};

// A sample game in the middle of a level with a word of the given length.
GameState SampleGame(const std::string& word) {
    GameState s;
    s.TargetWord = word;
    s.WordLength = uint8_t(word.size());
    s.Score = 12480;
    s.TilesLeft = 87;
    s.Level = 3;
    s.Lives = 4;
    s.TopScore = 45210;
    Dice dice(3);
    for (int c = 12 - s.WordLength; c < 12; ++c) {
        const int height = int(dice.Range(0, 6));
        for (int r = 17; r > 17 - height; --r) s.Well[c][r] = uint8_t(1 + dice.Range(0, 26));
    }
    s.LeftStack = {27, 3, 35, 36, 37, 32, 14, 31, 38};
    s.LeftStackFull = true;
    s.RightStack = {28, 29, 30, 33, 34, 5, 18, 9, 11};
    s.RightStackFull = true;
    s.Falling = {16, int8_t(12 - (s.WordLength + 1) / 2), 5};
    return s;
}

// Draws the sample game with the skin file through the game's own playfield drawing.
int Preview(const std::string& skin, const std::string& out, const std::string& word, int scale) {
    EnsureGuiApplication();
    if (word.empty() || word.size() > 12 ||
        word.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ ") != std::string::npos) {
        std::cerr << "art preview: the word must have 1 to 12 letters A-Z or spaces\n";
        return 1;
    }
    DrawingSurface surface;
    ImageList images;
    images.SetDXDraw(&surface);
    try {
        images.Items.LoadFromFile(skin);
    } catch (const std::exception& e) {
        std::cerr << "art preview: " << skin << ": " << e.what() << '\n';
        return 1;
    }
    surface.Initialize();
    const GameState state = SampleGame(word);
    Surface& back = surface.BackBuffer();
    {
        PreviewCanvas canvas(back);
        DrawPlayfield(state, images, back, &canvas);
    }
    DrawFallingTile(state, images, back);
    QImage frame = QImage(reinterpret_cast<const uchar*>(back.Pixels()), back.Width(),
                          back.Height(), back.Width() * 4, QImage::Format_RGB32)
                       .copy();
    images.SetDXDraw(nullptr);
    if (scale > 1)
        frame = frame.scaled(frame.width() * scale, frame.height() * scale, Qt::IgnoreAspectRatio,
                             Qt::FastTransformation);
    if (!frame.save(QString::fromStdString(out), "PNG")) {
        std::cerr << "art preview: cannot write " << out << '\n';
        return 1;
    }
    return 0;
}

// The top list window's drawing over its background, with sample entries.
int PreviewTopList(const std::string& pngDir, const std::string& out, int scale) {
    EnsureGuiApplication();
    QImage picture(QString::fromStdString(pngDir) + QStringLiteral("/screen-1-toplist.png"));
    if (picture.isNull()) {
        std::cerr << "art preview-toplist: cannot read the top list picture in " << pngDir << '\n';
        return 1;
    }
    picture = picture.convertToFormat(QImage::Format_RGB32);
    const char* names[10] = {"Hurbo",  "Kristýna", "Zdeněk Příhoda", "anonym", "anonym",
                             "anonym", "anonym",   "anonym",         "anonym", ""};
    const int points[10] = {98450, 61200, 40315, 0, 0, 0, 0, 0, 0, -150};
    {
        QPainter p(&picture);
        QFont font = ArtFont(11, true);
        p.setPen(kInk);
        for (int r = 1; r <= 10; ++r) {
            if (r == 4) font.setBold(false);
            p.setFont(font);
            const int y = r <= 3 ? 16 * r + 96 : r <= 7 ? 16 * r + 95 : 16 * r + 94;
            p.drawText(QRect(31, y, 120, 20), Qt::AlignLeft | Qt::AlignTop,
                       QString::fromUtf8(names[r - 1]));
            p.drawText(QRect(155, y, 90, 20), Qt::AlignLeft | Qt::AlignTop,
                       QString::number(points[r - 1]));
        }
    }
    if (scale > 1)
        picture = picture.scaled(picture.width() * scale, picture.height() * scale,
                                 Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!picture.save(QString::fromStdString(out), "PNG")) {
        std::cerr << "art preview-toplist: cannot write " << out << '\n';
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
    static std::string previewSkin, previewOut, previewWord = "PABUK";
    static int previewScale = 1;
    preview->add_option("SKIN", previewSkin, "Skin file (.qvs)")->required();
    preview->add_option("OUT", previewOut, "PNG file to write")->required();
    preview->add_option("--word", previewWord, "Target word (1-12 letters A-Z and spaces)");
    preview->add_option("--scale", previewScale, "Enlarge the picture this many times")
        ->check(CLI::Range(1, 8));
    preview->callback(
        [] { tool::SetExitCode(Preview(previewSkin, previewOut, previewWord, previewScale)); });

    auto* top =
        art->add_subcommand("preview-toplist", "Write sample entries over the top list picture");
    static std::string topDir, topOut;
    static int topScale = 1;
    top->add_option("PNGDIR", topDir, "Folder written by art render")->required();
    top->add_option("OUT", topOut, "PNG file to write")->required();
    top->add_option("--scale", topScale, "Enlarge the picture this many times")
        ->check(CLI::Range(1, 8));
    top->callback([] { tool::SetExitCode(PreviewTopList(topDir, topOut, topScale)); });
});

}  // namespace

}  // namespace pabuko::art
