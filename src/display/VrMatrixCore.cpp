#include "display/VrMatrixCore.h"

#include <algorithm>
#include <array>

#include "display/LedFont.h"

namespace pabuko {

namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kSilver = 0xC0C0C0;
constexpr int32_t kMaxLeds = 1024;
constexpr int32_t kMaxSpacing = 1024;

// Upper-case letter for each lower-case byte of Windows-1250 (0 where there is none).
constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 'a' + 'A');
    // š ś ť ž ź, ł ą ş ż ľ
    constexpr std::array<std::array<unsigned char, 2>, 10> pairs = {{{0x9A, 0x8A},
                                                                     {0x9C, 0x8C},
                                                                     {0x9D, 0x8D},
                                                                     {0x9E, 0x8E},
                                                                     {0x9F, 0x8F},
                                                                     {0xB3, 0xA3},
                                                                     {0xB9, 0xA5},
                                                                     {0xBA, 0xAA},
                                                                     {0xBF, 0xAF},
                                                                     {0xBE, 0xBC}}};
    for (const auto& p : pairs) t[p[0]] = p[1];
    // ŕ á â ă ä ĺ ć ç č é ę ë ě í î ď đ ń ň ó ô ő ö ř ů ú ű ü ý ţ; ÷ and ß have no pair.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7) t[c] = static_cast<unsigned char>(c - 0x20);
    return t;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

constexpr std::array<unsigned char, 256> MakeLowerTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        if (kUpper[c] != 0) t[kUpper[c]] = static_cast<unsigned char>(c);
    return t;
}

constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

}  // namespace

LedCellGeometry CellGeometry(TLedStyle style) {
    switch (style) {
        case TLedStyle::ls9x13:
            return {9, 13, 1};
        case TLedStyle::ls19x27:
            return {19, 27, 3};
        case TLedStyle::ls14x20:
            break;
    }
    return {14, 20, 2};
}

Surface MakeLedCell(TLedStyle style) {
    const LedCellGeometry g = CellGeometry(style);
    Surface cell(g.Width, g.Height);
    cell.Fill(MatchColor(0));
    const uint32_t grey = MatchColor(kGrey);
    for (int r = 0; r < 7; ++r) {
        for (int k = 0; k < 5; ++k) {
            const int x = k * (g.Dot + 1);
            const int y = r * (g.Dot + 1);
            switch (g.Dot) {
                case 1:
                    cell.SetPixel(x, y, grey);
                    break;
                case 2:  // the diagonal of the 2 × 2 dot
                    cell.SetPixel(x, y, grey);
                    cell.SetPixel(x + 1, y + 1, grey);
                    break;
                default:  // a plus in the 3 × 3 dot
                    cell.SetPixel(x + 1, y, grey);
                    for (int i = 0; i < 3; ++i) cell.SetPixel(x + i, y + 1, grey);
                    cell.SetPixel(x + 1, y + 2, grey);
                    break;
            }
        }
    }
    return cell;
}

unsigned char Cp1250Upper(unsigned char c) {
    return kUpper[c] != 0 ? kUpper[c] : c;
}

unsigned char Cp1250Lower(unsigned char c) {
    return kLower[c] != 0 ? kLower[c] : c;
}

std::string ApplyTextStyle(std::string text, TVrTextStyle style) {
    auto map = [&text](unsigned char (*f)(unsigned char)) {
        for (char& ch : text) ch = static_cast<char>(f(static_cast<unsigned char>(ch)));
    };
    switch (style) {
        case TVrTextStyle::tsUpperCase:
            map(Cp1250Upper);
            break;
        case TVrTextStyle::tsLowerCase:
            map(Cp1250Lower);
            break;
        case TVrTextStyle::tsAsIs:
            break;
        case TVrTextStyle::tsProperCase: {
            map(Cp1250Lower);
            const auto first = text.find_first_not_of(' ');
            if (first != std::string::npos && text[first] >= 'a' && text[first] <= 'z')
                text[first] = static_cast<char>(text[first] - 'a' + 'A');
            break;
        }
    }
    return text;
}

MatrixText ParseMatrixText(std::string_view text, TVrTextStyle style) {
    MatrixText out;
    char code = '-';
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '%') {
            out.Shown += c;
            out.Codes += code;
            continue;
        }
        if (i + 1 == text.size()) {
            code = '-';
            break;
        }
        const char next = text[++i];
        if (next == '%') {
            out.Shown += '%';
            out.Codes += code;
        } else if ((next >= '0' && next <= '9') || (next >= 'A' && next <= 'G') ||
                   (next >= 'a' && next <= 'g')) {
            code = next;
        } else {
            code = '-';
        }
    }
    out.Shown = ApplyTextStyle(std::move(out.Shown), style);
    return out;
}

uint32_t CodeColor(char code, uint32_t high) {
    static constexpr std::array<uint32_t, 16> kColors = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
        0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    if (code >= '1' && code <= '9') return kColors[code - '1'];
    if (code >= 'A' && code <= 'G') return kColors[9 + code - 'A'];
    if (code >= 'a' && code <= 'g') return kColors[9 + code - 'a'];
    return high;
}

// ---- TVrMatrixCore

TVrMatrixCore::TVrMatrixCore() {
    Recolor();
}

void TVrMatrixCore::SetLeds(int32_t leds) {
    leds = std::clamp(leds, 1, kMaxLeds);
    if (leds == leds_) return;
    leds_ = leds;
    Reparse();
    Changed();
}

void TVrMatrixCore::SetSpacing(int32_t spacing) {
    spacing = std::clamp(spacing, 0, kMaxSpacing);
    if (spacing == spacing_) return;
    spacing_ = spacing;
    Changed();
}

void TVrMatrixCore::SetLedStyle(TLedStyle style) {
    if (style == ledStyle_) return;
    ledStyle_ = style;
    Recolor();
    Changed();
}

void TVrMatrixCore::SetLedsVisible(bool visible) {
    if (visible == ledsVisible_) return;
    ledsVisible_ = visible;
    Changed();
}

void TVrMatrixCore::SetAlignment(TVrAlignment alignment) {
    if (alignment == alignment_) return;
    alignment_ = alignment;
    Changed();
}

void TVrMatrixCore::SetScrollDirection(TVrMatrixScrollDirection direction) {
    if (direction == scrollDirection_) return;
    scrollDirection_ = direction;
    Changed();
}

void TVrMatrixCore::SetTextStyle(TVrTextStyle style) {
    if (style == textStyle_) return;
    textStyle_ = style;
    Reparse();
    Changed();
}

void TVrMatrixCore::SetOrientation(TVrOrientation orientation) {
    if (orientation == orientation_) return;
    orientation_ = orientation;
    Changed();
}

void TVrMatrixCore::SetAutoScroll(bool on) {
    if (on == autoScroll_) return;
    autoScroll_ = on;
    Changed();
}

void TVrMatrixCore::SetThreaded(bool threaded) {
    threaded_ = threaded;
}

void TVrMatrixCore::SetTimeInterval(int32_t ms) {
    ms = std::max(ms, 0);
    if (ms == timeInterval_) return;
    timeInterval_ = ms;
    Changed();
}

void TVrMatrixCore::SetPalette(const TVrPalette& palette) {
    if (palette == palette_) return;
    palette_ = palette;
    Recolor();
    Changed();
}

void TVrMatrixCore::SetBevel(const TVrBevel& bevel) {
    TVrBevel b = bevel;
    b.Width = std::clamp(b.Width, 0, kMaxSpacing);
    if (b == bevel_) return;
    bevel_ = b;
    Changed();
}

void TVrMatrixCore::SetColor(uint32_t color) {
    if (color == color_) return;
    color_ = color;
    Recolor();
    Changed();
}

void TVrMatrixCore::SetText(std::string text) {
    text_ = std::move(text);
    Reparse();
    Changed();
}

void TVrMatrixCore::Reparse() {
    parsed_ = ParseMatrixText(text_, textStyle_);
}

void TVrMatrixCore::Recolor() {
    cell_ = MakeLedCell(ledStyle_);
    const uint32_t black = MatchColor(0), grey = MatchColor(kGrey), silver = MatchColor(kSilver);
    const uint32_t low = MatchColor(palette_.Low), high = MatchColor(palette_.High),
                   back = MatchColor(color_);
    uint32_t* p = cell_.Pixels();
    for (int i = 0, n = cell_.Width() * cell_.Height(); i < n; ++i) {
        if (p[i] == grey)
            p[i] = low;
        else if (p[i] == silver)
            p[i] = high;
        else if (p[i] == black)
            p[i] = back;
    }
}

void TVrMatrixCore::Changed() {
    if (OnChanged) OnChanged();
}

void TVrMatrixCore::PositionFromAlignment() {
    const auto length = static_cast<int32_t>(parsed_.Shown.size());
    switch (alignment_) {
        case TVrAlignment::vaLeftJustify:
            position_ = 1;
            break;
        case TVrAlignment::vaRightJustify:
            position_ = length - leds_ + 1;
            break;
        case TVrAlignment::vaCenter:
            position_ = 1 - (leds_ - length) / 2;
            break;
    }
}

void TVrMatrixCore::ScrollStep() {
    if (scrollDirection_ == TVrMatrixScrollDirection::msdRightToLeft) {
        if (position_ < static_cast<int32_t>(parsed_.Shown.size())) {
            ++position_;
        } else {
            if (OnScrollDone) OnScrollDone();
            position_ = 1 - leds_;
        }
    } else {
        if (position_ > 1 - leds_) {
            --position_;
        } else {
            if (OnScrollDone) OnScrollDone();
            // The handler may have put in a new text; it enters from the left.
            position_ = static_cast<int32_t>(parsed_.Shown.size());
        }
    }
    Changed();
}

int TVrMatrixCore::StripWidth() const {
    const LedCellGeometry g = CellGeometry(ledStyle_);
    if (orientation_ == TVrOrientation::voVertical) return g.Width;
    return g.Width * leds_ + spacing_ * (leds_ - 1);
}

int TVrMatrixCore::StripHeight() const {
    const LedCellGeometry g = CellGeometry(ledStyle_);
    if (orientation_ == TVrOrientation::voVertical)
        return g.Height * leds_ + spacing_ * (leds_ - 1);
    return g.Height;
}

int TVrMatrixCore::Width() const {
    return StripWidth() + 2 * bevel_.Inset();
}

int TVrMatrixCore::Height() const {
    return StripHeight() + 2 * bevel_.Inset();
}

const Surface& TVrMatrixCore::Paint() {
    const int w = Width(), h = Height();
    if (image_.Width() != w || image_.Height() != h) image_ = Surface(w, h);
    image_.Fill(MatchColor(color_));

    if (bevel_.Visible) {
        // Lowered: shadow along the top and left, light along the bottom and right.
        const uint32_t shadow = MatchColor(kGrey), light = MatchColor(0xFFFFFF);
        for (int i = 0; i < bevel_.Width && i < w && i < h; ++i) {
            for (int x = i; x < w - i; ++x) {
                image_.SetPixel(x, i, shadow);
                image_.SetPixel(x, h - 1 - i, light);
            }
            for (int y = i; y < h - i; ++y) {
                image_.SetPixel(i, y, shadow);
                image_.SetPixel(w - 1 - i, y, light);
            }
        }
    }

    if (!autoScroll_) PositionFromAlignment();

    const LedCellGeometry g = CellGeometry(ledStyle_);
    const bool vertical = orientation_ == TVrOrientation::voVertical;
    const int x0 = (w - StripWidth()) / 2;
    const int y0 = (h - StripHeight()) / 2;
    const auto length = static_cast<int64_t>(parsed_.Shown.size());
    for (int c = 0; c < leds_; ++c) {
        const int cx = vertical ? x0 : x0 + c * (g.Width + spacing_);
        const int cy = vertical ? y0 + c * (g.Height + spacing_) : y0;
        if (ledsVisible_) image_.Draw(cx, cy, cell_, Rect{0, 0, g.Width, g.Height}, false);
        const int64_t index = static_cast<int64_t>(position_) + c;
        if (index < 1 || index > length) continue;
        const auto ch = static_cast<unsigned char>(parsed_.Shown[index - 1]);
        if (ch == ' ') continue;
        const LedGlyph& glyph = kLedFont[ch];
        const uint32_t lit = MatchColor(CodeColor(parsed_.Codes[index - 1], palette_.High));
        for (int r = 0; r < 7; ++r) {
            for (int k = 0; k < 5; ++k) {
                if (!(glyph[r] & (0x10 >> k))) continue;
                const int dx = cx + k * (g.Dot + 1), dy = cy + r * (g.Dot + 1);
                for (int y = dy; y < dy + g.Dot; ++y)
                    for (int x = dx; x < dx + g.Dot; ++x) image_.SetPixel(x, y, lit);
            }
        }
    }
    return image_;
}

}  // namespace pabuko
