// pabuko-tool icons OUTDIR: the desktop icon, a letter tile of the game's own look, in
// the hicolor sizes: OUTDIR/<n>x<n>/apps/pabuko.png.
#include <QDir>
#include <QGuiApplication>
#include <iostream>
#include <memory>

#include "ArtStyle.h"
#include "ToolCommands.h"

namespace pabuko::art {

namespace {

constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QImage Icon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    // Small icons use the whole square; large ones leave room for the shadow.
    const qreal margin = size < 32 ? 0.0 : size / 16.0;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    if (size >= 32) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 80));
        p.drawRoundedRect(tile.translated(size / 64.0, size / 40.0), tile.width() * 0.14,
                          tile.width() * 0.14);
    }
    PaintBigTile(p, tile, LetterLook());
    PaintLetter(p, tile, QStringLiteral("P"), ArtFont(qMax(8, int(tile.height() * 0.7)), true),
                QColor(44, 28, 100), QColor(255, 255, 255, 150));
    return image;
}

int WriteIcons(const std::string& outDir) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pabuko-tool";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) app = std::make_unique<QGuiApplication>(argc, argv);
    for (int size : kIconSizes) {
        const QString dir =
            QString::fromStdString(outDir) + QStringLiteral("/%1x%1/apps").arg(size);
        if (!QDir().mkpath(dir) || !Icon(size).save(dir + QStringLiteral("/pabuko.png"), "PNG")) {
            std::cerr << "icons: cannot write into " << dir.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}

const tool::Registrar reg([](CLI::App& app) {
    static std::string outDir;
    auto* icons = app.add_subcommand("icons", "Paint the desktop icon in the hicolor sizes");
    icons->add_option("OUTDIR", outDir, "Folder of the icon theme")->required();
    icons->callback([] { tool::SetExitCode(WriteIcons(outDir)); });
});

}  // namespace
}  // namespace pabuko::art
