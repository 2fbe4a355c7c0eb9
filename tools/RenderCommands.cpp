// pabuko-tool render digits|hotimage|label|toplist: the game's display controls and the top
// list window drawn without a window on the screen, each into a PNG of its offscreen
// picture, as the window would show it.
#include <QApplication>
#include <QEnterEvent>
#include <QRegularExpression>
#include <iostream>

#include "ToolCommands.h"
#include "assets/ImageList.h"
#include "display/PixelImage.h"
#include "display/VrDigitGroup.h"
#include "display/VrHotImage.h"
#include "display/VrLabel.h"
#include "endgame/TopListFile.h"
#include "endgame/TopListWindow.h"
#include "platform/ProgramFolder.h"

namespace {

using namespace pabuko;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pabuko-tool";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing it down among the other statics at exit crashes.
    new QApplication(argc, argv);
}

// "WxH", each side 1 to 4096.
QSize ParseSize(const std::string& text) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const auto m = re.match(QString::fromStdString(text));
    const QSize size = m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
    if (size.width() < 1 || size.height() < 1 || size.width() > 4096 || size.height() > 4096)
        throw std::runtime_error("size must be WxH, 1 to 4096 pixels a side: " + text);
    return size;
}

// "RRGGBB".
QColor ParseColor(const std::string& text) {
    static const QRegularExpression re(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    const QString s = QString::fromStdString(text);
    if (!re.match(s).hasMatch()) throw std::runtime_error("colour must be RRGGBB: " + text);
    return QColor(QLatin1Char('#') + s);
}

void Save(const QImage& image, const std::string& png) {
    if (!image.save(QString::fromStdString(png), "PNG"))
        throw std::runtime_error("cannot write " + png);
}

// Runs a command body, reporting failures as the tool's exit status.
template <typename F>
void Run(const char* what, F body) {
    try {
        EnsureApplication();
        body();
    } catch (const std::exception& e) {
        std::cerr << "render " << what << ": " << e.what() << '\n';
        pabuko::tool::SetExitCode(1);
    }
}

struct DigitsOptions {
    double value = 0;
    int decimals = 3, digits = 4;
    std::string size, png, low, high;
    bool leadingZero = false, activeOnly = false;
};

struct HotImageOptions {
    std::string size, caption, enter, frame, png;
    bool hot = false, transparent = false;
};

struct LabelOptions {
    std::string size, caption, png;
};

struct TopListOptions {
    std::string file, png;
};

const pabuko::tool::Registrar reg([](CLI::App& app) {
    CLI::App* render = pabuko::tool::RenderCommand(app);

    auto digitsOptions = std::make_shared<DigitsOptions>();
    auto* digits = render->add_subcommand("digits", "The seven-segment digit display");
    digits->add_option("--value", digitsOptions->value, "The number shown")->required();
    digits->add_option("--decimals", digitsOptions->decimals, "Digits after the decimal point")
        ->required();
    digits->add_option("--digits", digitsOptions->digits, "Number of digit cells")->required();
    digits->add_option("--size", digitsOptions->size, "WxH")->required();
    digits->add_flag("--leading-zero", digitsOptions->leadingZero,
                     "Pad with zeros instead of blanks");
    digits->add_flag("--active-only", digitsOptions->activeOnly, "Draw only the lit segments");
    digits->add_option("--low", digitsOptions->low, "Unlit segments, RRGGBB (default 008000)");
    digits->add_option("--high", digitsOptions->high, "Lit segments, RRGGBB (default 00FF00)");
    digits->add_option("--png", digitsOptions->png, "Output file")->required();
    digits->callback([digitsOptions] {
        Run("digits", [&] {
            TVrDigitGroup w;
            w.resize(ParseSize(digitsOptions->size));
            w.SetDecimals(digitsOptions->decimals);
            w.SetDigits(digitsOptions->digits);
            w.SetLeadingZero(digitsOptions->leadingZero);
            w.SetActiveOnly(digitsOptions->activeOnly);
            if (!digitsOptions->low.empty()) w.SetPaletteLow(ParseColor(digitsOptions->low));
            if (!digitsOptions->high.empty()) w.SetPaletteHigh(ParseColor(digitsOptions->high));
            w.SetValue(digitsOptions->value);
            Save(w.Image(), digitsOptions->png);
        });
    });

    auto hotOptions = std::make_shared<HotImageOptions>();
    auto* hot = render->add_subcommand("hotimage", "The hot image button");
    hot->add_option("--size", hotOptions->size, "WxH")->required();
    hot->add_option("--caption", hotOptions->caption, "Text on the button")->required();
    hot->add_flag("--hot", hotOptions->hot, "Drawn as with the mouse over it");
    hot->add_option("--enter", hotOptions->enter, "Fill while hot, RRGGBB (default 0000FF)");
    hot->add_option("--frame", hotOptions->frame, "Hot frame RRGGBB:WIDTH (default FFFF00:1)");
    hot->add_flag("--transparent", hotOptions->transparent, "No fill: transparent pixels");
    hot->add_option("--png", hotOptions->png, "Output file")->required();
    hot->callback([hotOptions] {
        Run("hotimage", [&] {
            TVrHotImage w;
            w.resize(ParseSize(hotOptions->size));
            w.SetCaption(QString::fromStdString(hotOptions->caption));
            if (!hotOptions->enter.empty()) w.SetColorEnter(ParseColor(hotOptions->enter));
            if (!hotOptions->frame.empty()) {
                const auto colon = hotOptions->frame.find(':');
                if (colon == std::string::npos)
                    throw std::runtime_error("frame must be RRGGBB:WIDTH: " + hotOptions->frame);
                TVrHotRect frame = w.HotRect();
                frame.Color = ParseColor(hotOptions->frame.substr(0, colon));
                bool ok = false;
                frame.Width =
                    QString::fromStdString(hotOptions->frame.substr(colon + 1)).toInt(&ok);
                if (!ok || frame.Width < 0 || frame.Width > 100)
                    throw std::runtime_error("frame width must be 0 to 100: " + hotOptions->frame);
                w.SetHotRect(frame);
            }
            w.SetTransparent(hotOptions->transparent);
            if (hotOptions->hot) {
                QEnterEvent enter(QPointF(0, 0), QPointF(0, 0), QPointF(0, 0));
                QApplication::sendEvent(&w, &enter);
            }
            Save(w.Image(), hotOptions->png);
        });
    });

    auto labelOptions = std::make_shared<LabelOptions>();
    auto* label = render->add_subcommand("label", "The outlined label, as the quiz title");
    label->add_option("--size", labelOptions->size, "WxH")->required();
    label->add_option("--caption", labelOptions->caption, "Text of the label")->required();
    label->add_option("--png", labelOptions->png, "Output file")->required();
    label->callback([labelOptions] {
        Run("label", [&] {
            TVrLabel w;
            w.resize(ParseSize(labelOptions->size));
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(19);
            w.SetFont(font);
            w.SetColor(Qt::black);
            w.SetColorHighlight(Qt::red);
            w.SetColorShadow(Qt::red);
            w.SetCaption(QString::fromStdString(labelOptions->caption));
            Save(w.Image(), labelOptions->png);
        });
    });

    auto topListOptions = std::make_shared<TopListOptions>();
    auto* toplist = render->add_subcommand(
        "toplist", "The top list window for a toplist.dat, over the game's data/screen.src");
    toplist->add_option("FILE", topListOptions->file, "toplist.dat")->required();
    toplist->add_option("--png", topListOptions->png, "Output file")->required();
    toplist->callback([topListOptions] {
        Run("toplist", [&] {
            const TopListLoad load = LoadTopListFile(topListOptions->file);
            if (load.State == TopListFileState::Missing)
                throw std::runtime_error(topListOptions->file + ": no such file");
            if (load.State == TopListFileState::Damaged)
                throw std::runtime_error(topListOptions->file +
                                         ": damaged (shorter than 280 bytes or unreadable)");
            PictureCollection misc;
            misc.LoadFromFile(FindProgramFolder(ExecutableFolder()) + "data/screen.src");
            if (misc.Count() < 2 || misc.Items(1).GetPicture().Empty())
                throw std::runtime_error("data/screen.src has no top list picture");
            const Picture& p = misc.Items(1).GetPicture();
            const QImage background = PixelImage(p.pixels.data(), p.width, p.height).copy();
            TfrmTopList w(load.Entries, [&] { return background; });
            w.FormShow();
            Save(w.grab().toImage(), topListOptions->png);
        });
    });
});

}  // namespace
