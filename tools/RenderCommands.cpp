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

    auto d = std::make_shared<DigitsOptions>();
    auto* digits = render->add_subcommand("digits", "The seven-segment digit display");
    digits->add_option("--value", d->value, "The number shown")->required();
    digits->add_option("--decimals", d->decimals, "Digits after the decimal point")->required();
    digits->add_option("--digits", d->digits, "Number of digit cells")->required();
    digits->add_option("--size", d->size, "WxH")->required();
    digits->add_flag("--leading-zero", d->leadingZero, "Pad with zeros instead of blanks");
    digits->add_flag("--active-only", d->activeOnly, "Draw only the lit segments");
    digits->add_option("--low", d->low, "Unlit segments, RRGGBB (default 008000)");
    digits->add_option("--high", d->high, "Lit segments, RRGGBB (default 00FF00)");
    digits->add_option("--png", d->png, "Output file")->required();
    digits->callback([d] {
        Run("digits", [&] {
            TVrDigitGroup w;
            w.resize(ParseSize(d->size));
            w.SetDecimals(d->decimals);
            w.SetDigits(d->digits);
            w.SetLeadingZero(d->leadingZero);
            w.SetActiveOnly(d->activeOnly);
            if (!d->low.empty()) w.SetPaletteLow(ParseColor(d->low));
            if (!d->high.empty()) w.SetPaletteHigh(ParseColor(d->high));
            w.SetValue(d->value);
            Save(w.Image(), d->png);
        });
    });

    auto h = std::make_shared<HotImageOptions>();
    auto* hot = render->add_subcommand("hotimage", "The hot image button");
    hot->add_option("--size", h->size, "WxH")->required();
    hot->add_option("--caption", h->caption, "Text on the button")->required();
    hot->add_flag("--hot", h->hot, "Drawn as with the mouse over it");
    hot->add_option("--enter", h->enter, "Fill while hot, RRGGBB (default 0000FF)");
    hot->add_option("--frame", h->frame, "Hot frame RRGGBB:WIDTH (default FFFF00:1)");
    hot->add_flag("--transparent", h->transparent, "No fill: transparent pixels");
    hot->add_option("--png", h->png, "Output file")->required();
    hot->callback([h] {
        Run("hotimage", [&] {
            TVrHotImage w;
            w.resize(ParseSize(h->size));
            w.SetCaption(QString::fromStdString(h->caption));
            if (!h->enter.empty()) w.SetColorEnter(ParseColor(h->enter));
            if (!h->frame.empty()) {
                const auto colon = h->frame.find(':');
                if (colon == std::string::npos)
                    throw std::runtime_error("frame must be RRGGBB:WIDTH: " + h->frame);
                TVrHotRect frame = w.HotRect();
                frame.Color = ParseColor(h->frame.substr(0, colon));
                bool ok = false;
                frame.Width = QString::fromStdString(h->frame.substr(colon + 1)).toInt(&ok);
                if (!ok || frame.Width < 0 || frame.Width > 100)
                    throw std::runtime_error("frame width must be 0 to 100: " + h->frame);
                w.SetHotRect(frame);
            }
            w.SetTransparent(h->transparent);
            if (h->hot) {
                QEnterEvent enter(QPointF(0, 0), QPointF(0, 0), QPointF(0, 0));
                QApplication::sendEvent(&w, &enter);
            }
            Save(w.Image(), h->png);
        });
    });

    auto l = std::make_shared<LabelOptions>();
    auto* label = render->add_subcommand("label", "The outlined label, as the quiz title");
    label->add_option("--size", l->size, "WxH")->required();
    label->add_option("--caption", l->caption, "Text of the label")->required();
    label->add_option("--png", l->png, "Output file")->required();
    label->callback([l] {
        Run("label", [&] {
            TVrLabel w;
            w.resize(ParseSize(l->size));
            QFont font(QStringLiteral("Arial"));
            font.setPixelSize(19);
            w.SetFont(font);
            w.SetColor(Qt::black);
            w.SetColorHighlight(Qt::red);
            w.SetColorShadow(Qt::red);
            w.SetCaption(QString::fromStdString(l->caption));
            Save(w.Image(), l->png);
        });
    });

    auto t = std::make_shared<TopListOptions>();
    auto* toplist = render->add_subcommand(
        "toplist", "The top list window for a toplist.dat, over data/screen.src beside the tool");
    toplist->add_option("FILE", t->file, "toplist.dat")->required();
    toplist->add_option("--png", t->png, "Output file")->required();
    toplist->callback([t] {
        Run("toplist", [&] {
            const TopListLoad load = LoadTopListFile(t->file);
            if (load.State == TopListFileState::Missing)
                throw std::runtime_error(t->file + ": no such file");
            if (load.State == TopListFileState::Damaged)
                throw std::runtime_error(t->file +
                                         ": damaged (shorter than 280 bytes or unreadable)");
            PictureCollection misc;
            misc.LoadFromFile(ExecutableFolder() + "data/screen.src");
            if (misc.Count() < 2 || misc.Items(1).GetPicture().Empty())
                throw std::runtime_error("data/screen.src has no top list picture");
            const Picture& p = misc.Items(1).GetPicture();
            const QImage background = PixelImage(p.pixels.data(), p.width, p.height).copy();
            TfrmTopList w(load.Entries, [&] { return background; });
            w.FormShow();
            Save(w.grab().toImage(), t->png);
        });
    });
});

}  // namespace
