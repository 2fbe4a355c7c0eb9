// pabuko-tool render matrix: draws the LED line without a window, by default with the
// main window's settings, and writes its offscreen image.
#include <QImage>
#include <QString>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>

#include "ToolCommands.h"
#include "display/PixelImage.h"
#include "display/VrMatrixCore.h"
#include "platform/TextEncoding.h"

namespace pabuko::tool {

namespace {

struct RenderOptions {
    std::string text;
    int leds = 24;
    std::string style = "14x20";
    int spacing = 2;
    std::string align = "left";
    std::string textCase = "upper";
    std::string direction = "rtl";
    bool vertical = false;
    bool noLeds = false;
    std::string low = "808000";   // olive
    std::string high = "FFFF00";  // yellow
    std::optional<int> steps;
    std::string png;
};

// RRGGBB as written by people, to 0x00BBGGRR.
std::optional<uint32_t> ParseRgb(const std::string& s) {
    if (s.size() != 6 || s.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    const auto rgb = static_cast<uint32_t>(std::stoul(s, nullptr, 16));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
}

int Render(const RenderOptions& o) {
    const auto text = Utf8ToCp1250(o.text);
    const auto low = ParseRgb(o.low), high = ParseRgb(o.high);
    if (!text) {
        std::cerr << "render matrix: the text has a character Windows-1250 lacks\n";
        return 1;
    }
    if (!low || !high) {
        std::cerr << "render matrix: colours are RRGGBB in hexadecimal\n";
        return 1;
    }
    TVrMatrixCore m;
    m.SetLeds(o.leds);
    m.SetTimeInterval(250);
    TVrBevel bevel;
    bevel.Visible = false;
    m.SetBevel(bevel);
    m.SetPalette({*low, *high});
    m.SetSpacing(o.spacing);
    m.SetLedStyle(std::map<std::string, TLedStyle>{
        {"9x13", TLedStyle::ls9x13}, {"14x20", TLedStyle::ls14x20}, {"19x27", TLedStyle::ls19x27}}
                      .at(o.style));
    m.SetAlignment(std::map<std::string, TVrAlignment>{{"left", TVrAlignment::vaLeftJustify},
                                                       {"right", TVrAlignment::vaRightJustify},
                                                       {"center", TVrAlignment::vaCenter}}
                       .at(o.align));
    m.SetTextStyle(std::map<std::string, TVrTextStyle>{{"upper", TVrTextStyle::tsUpperCase},
                                                       {"lower", TVrTextStyle::tsLowerCase},
                                                       {"asis", TVrTextStyle::tsAsIs},
                                                       {"proper", TVrTextStyle::tsProperCase}}
                       .at(o.textCase));
    m.SetScrollDirection(o.direction == "ltr" ? TVrMatrixScrollDirection::msdLeftToRight
                                              : TVrMatrixScrollDirection::msdRightToLeft);
    m.SetOrientation(o.vertical ? TVrOrientation::voVertical : TVrOrientation::voHorizontal);
    m.SetLedsVisible(!o.noLeds);
    m.SetText(*text);
    m.Loaded();

    int scrollDone = 0;
    m.OnScrollDone = [&scrollDone] { ++scrollDone; };
    if (o.steps) {
        m.SetAutoScroll(true);
        for (int i = 0; i < *o.steps; ++i) m.ScrollStep();
    }
    if (!PixelImage(m.Paint()).save(QString::fromStdString(o.png), "PNG")) {
        std::cerr << "render matrix: cannot write " << o.png << '\n';
        return 1;
    }
    std::cout
        << nlohmann::ordered_json{{"position", m.Position()}, {"scrollDone", scrollDone}}.dump()
        << '\n';
    return 0;
}

void AddMatrix(CLI::App& app) {
    CLI::App* render = RenderCommand(app);
    auto* matrix = render->add_subcommand("matrix", "Draw the LED line and print its position");
    static RenderOptions o;
    matrix->add_option("--text", o.text, "the text, UTF-8, colour codes allowed")->required();
    matrix->add_option("--leds", o.leds, "character cells")->check(CLI::Range(1, 1024));
    matrix->add_option("--style", o.style, "cell size")
        ->check(CLI::IsMember({"9x13", "14x20", "19x27"}));
    matrix->add_option("--spacing", o.spacing, "pixels between cells")->check(CLI::Range(0, 1024));
    matrix->add_option("--align", o.align, "position when not scrolling")
        ->check(CLI::IsMember({"left", "right", "center"}));
    matrix->add_option("--case", o.textCase, "case of the shown text")
        ->check(CLI::IsMember({"upper", "lower", "asis", "proper"}));
    matrix->add_option("--direction", o.direction, "direction of movement")
        ->check(CLI::IsMember({"rtl", "ltr"}));
    matrix->add_flag("--vertical", o.vertical, "cells stacked top to bottom");
    matrix->add_flag("--no-leds", o.noLeds, "no unlit dots");
    matrix->add_option("--low", o.low, "unlit dot colour, RRGGBB");
    matrix->add_option("--high", o.high, "lit dot colour, RRGGBB");
    matrix->add_option("--steps", o.steps, "scroll this many steps first")
        ->check(CLI::Range(0, 1000000));
    matrix->add_option("--png", o.png, "image to write")->required();
    matrix->callback([] { SetExitCode(Render(o)); });
}

// Added just before parsing, when every other command has registered.
const Registrar reg([](CLI::App& app) {
    app.preparse_callback([&app](size_t) { AddMatrix(app); });
});

}  // namespace

}  // namespace pabuko::tool
