// The LED line without a window: font, colour codes, case, positions, cells, drawing.
#include <gtest/gtest.h>

#include <vector>

#include "display/LedFont.h"
#include "display/VrMatrixCore.h"
#include "platform/TextEncoding.h"

namespace pabuko {
namespace {

std::string Cp(const char* utf8) {
    return *Utf8ToCp1250(utf8);
}

// The main window's line: 24 cells of 14 × 20, olive and yellow on black, no frame.
void MainWindowSettings(TVrMatrixCore& m) {
    m.SetLeds(24);
    m.SetTimeInterval(250);
    m.SetPalette({0x008080, 0x00FFFF});
    TVrBevel bevel;
    bevel.Visible = false;
    m.SetBevel(bevel);
    m.Loaded();
}

TEST(LedFont, GlyphsFollowTheTableAndTheBlankCodesAreBlank) {
    EXPECT_EQ(kLedFont['A'], (LedGlyph{0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}));
    EXPECT_EQ(kLedFont['%'], (LedGlyph{0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}));
    EXPECT_EQ(kLedFont[0x8A], (LedGlyph{0x06, 0x0E, 0x10, 0x0E, 0x01, 0x11, 0x0E}));  // Š
    EXPECT_EQ(kLedFont[0xD8], (LedGlyph{0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}));  // Ø
    EXPECT_EQ(kLedFont[0x00], (LedGlyph{0x02, 0x06, 0x0E, 0x1E, 0x0E, 0x06, 0x02}));
    EXPECT_EQ(kLedFont[0xFF], (LedGlyph{0x0A, 0x00, 0x11, 0x0A, 0x04, 0x04, 0x08}));
    for (int c = 0; c < 256; ++c) {
        const bool blank =
            c == 0x20 || (c >= 0x80 && c <= 0xBF && c != 0x8A && c != 0x9A) || c == 0xF7;
        bool empty = true;
        for (uint8_t row : kLedFont[c]) {
            EXPECT_EQ(row & 0xE0, 0) << c;
            empty = empty && row == 0;
        }
        EXPECT_EQ(empty, blank) << "code " << c;
    }
}

TEST(MatrixText, ColourCodesAreTakenOutAndStayInForce) {
    struct Case {
        const char* in;
        const char* shown;
        const char* codes;
    };
    for (const Case& c :
         {Case{"A%%B", "A%B", "---"}, Case{"%Cab", "AB", "CC"}, Case{"%cab", "AB", "cc"},
          Case{"%xAB", "AB", "--"}, Case{"%AX%%Y%BZ", "X%YZ", "AAAB"}, Case{"%AX%qY", "XY", "A-"},
          Case{"AB%", "AB", "--"}, Case{"%9a%", "A", "9"}, Case{"", "", ""}}) {
        const MatrixText t = ParseMatrixText(c.in, TVrTextStyle::tsUpperCase);
        EXPECT_EQ(t.Shown, c.shown) << c.in;
        EXPECT_EQ(t.Codes, c.codes) << c.in;
    }
    EXPECT_EQ(CodeColor('C', 1), 0x00FFFFu);
    EXPECT_EQ(CodeColor('c', 1), 0x00FFFFu);
    EXPECT_EQ(CodeColor('1', 1), 0x000000u);
    EXPECT_EQ(CodeColor('2', 1), 0x000080u);
    EXPECT_EQ(CodeColor('9', 1), 0xC0C0C0u);
    EXPECT_EQ(CodeColor('g', 1), 0xFFFFFFu);
    for (char high : {'0', '-', 'H', '%'}) EXPECT_EQ(CodeColor(high, 0x123456), 0x123456u);
}

TEST(MatrixText, CzechLettersChangeCaseInWindows1250) {
    const std::string lower = Cp("příliš žluťoučký kůň úpěl ďábelské ódy ńľĺŕąęłśźż");
    const std::string upper = Cp("PŘÍLIŠ ŽLUŤOUČKÝ KŮŇ ÚPĚL ĎÁBELSKÉ ÓDY ŃĽĹŔĄĘŁŚŹŻ");
    EXPECT_EQ(ApplyTextStyle(lower, TVrTextStyle::tsUpperCase), upper);
    EXPECT_EQ(ApplyTextStyle(upper, TVrTextStyle::tsLowerCase), lower);
    EXPECT_EQ(ApplyTextStyle(upper, TVrTextStyle::tsAsIs), upper);
    // ß, ÷, × and the signs keep their bytes.
    const std::string signs = Cp("ß÷×§€ 1-9");
    EXPECT_EQ(ApplyTextStyle(signs, TVrTextStyle::tsUpperCase), signs);
    EXPECT_EQ(ApplyTextStyle(signs, TVrTextStyle::tsLowerCase), signs);
    // Proper case: only a first a–z letter becomes a capital.
    EXPECT_EQ(ApplyTextStyle(Cp("  dOBRÝ Den"), TVrTextStyle::tsProperCase), Cp("  Dobrý den"));
    EXPECT_EQ(ApplyTextStyle(Cp("ČAU"), TVrTextStyle::tsProperCase), Cp("čau"));
}

TEST(MatrixScroll, AlignmentGivesTheStartingPosition) {
    TVrMatrixCore m;
    MainWindowSettings(m);
    m.SetText("ABC");
    m.SetAlignment(TVrAlignment::vaRightJustify);
    m.PositionFromAlignment();
    EXPECT_EQ(m.Position(), 3 - 24 + 1);
    m.SetAlignment(TVrAlignment::vaCenter);
    m.PositionFromAlignment();
    EXPECT_EQ(m.Position(), 1 - 10);
    m.SetText(std::string(31, 'X'));  // (24 - 31) div 2 truncates to -3
    m.PositionFromAlignment();
    EXPECT_EQ(m.Position(), 4);
}

// Steps the line `steps` times and records the position after each and the events.
struct ScrollRun {
    std::vector<int> positions;
    std::vector<int> doneAfterStep;
};

ScrollRun Scroll(TVrMatrixCore& m, int steps) {
    ScrollRun run;
    int step = 0;
    m.OnScrollDone = [&] { run.doneAfterStep.push_back(step); };
    for (step = 1; step <= steps; ++step) {
        m.ScrollStep();
        run.positions.push_back(m.Position());
    }
    return run;
}

TEST(MatrixScroll, EmptyTextEndsEveryNStepsShortTextEveryLPlusN) {
    TVrMatrixCore m;
    MainWindowSettings(m);
    m.SetAutoScroll(true);
    ScrollRun empty = Scroll(m, 1 + 48);
    EXPECT_EQ(empty.doneAfterStep, (std::vector<int>{1, 25, 49}));
    EXPECT_EQ(empty.positions[0], -23);
    EXPECT_EQ(empty.positions[23], 0);

    TVrMatrixCore s;
    s.SetLeds(5);
    s.SetText("ABC");
    s.Loaded();
    ScrollRun rtl = Scroll(s, 3 + 16);
    EXPECT_EQ(rtl.positions,
              (std::vector<int>{2, 3, -4, -3, -2, -1, 0, 1, 2, 3, -4, -3, -2, -1, 0, 1, 2, 3, -4}));
    EXPECT_EQ(rtl.doneAfterStep, (std::vector<int>{3, 11, 19}));

    s.SetScrollDirection(TVrMatrixScrollDirection::msdLeftToRight);
    s.Loaded();
    ScrollRun ltr = Scroll(s, 6 + 8);
    EXPECT_EQ(ltr.positions, (std::vector<int>{0, -1, -2, -3, -4, 3, 2, 1, 0, -1, -2, -3, -4, 3}));
    EXPECT_EQ(ltr.doneAfterStep, (std::vector<int>{6, 14}));
}

TEST(MatrixScroll, ScrollDoneComesBeforeThePositionResets) {
    TVrMatrixCore m;
    m.SetLeds(4);
    m.SetText("AB");
    int seen = 0;
    m.OnScrollDone = [&] {
        seen = m.Position();
        m.SetText("WXYZ12");  // the new text enters from the right
    };
    m.ScrollStep();
    m.ScrollStep();
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(m.Position(), 1 - 4);

    m.SetScrollDirection(TVrMatrixScrollDirection::msdLeftToRight);
    m.OnScrollDone = [&] { m.SetText("ABCDEFGHIJ"); };
    m.ScrollStep();
    EXPECT_EQ(m.Position(), 10);  // the new text's last character in the first cell
}

TEST(MatrixCells, UnlitDotsOfTheThreeStyles) {
    const uint32_t grey = MatchColor(0x808080), black = MatchColor(0);
    auto count = [&](const Surface& s) {
        int n = 0;
        for (int i = 0; i < s.Width() * s.Height(); ++i) {
            EXPECT_TRUE(s.Pixels()[i] == grey || s.Pixels()[i] == black);
            n += s.Pixels()[i] == grey;
        }
        return n;
    };
    const Surface small = MakeLedCell(TLedStyle::ls9x13);
    ASSERT_EQ(small.Width(), 9);
    ASSERT_EQ(small.Height(), 13);
    EXPECT_EQ(count(small), 35);
    EXPECT_EQ(small.Pixel(2, 2), grey);
    EXPECT_EQ(small.Pixel(8, 12), grey);
    EXPECT_EQ(small.Pixel(1, 0), black);

    const Surface mid = MakeLedCell(TLedStyle::ls14x20);
    ASSERT_EQ(mid.Width(), 14);
    ASSERT_EQ(mid.Height(), 20);
    EXPECT_EQ(count(mid), 70);
    EXPECT_EQ(mid.Pixel(3, 3), grey);
    EXPECT_EQ(mid.Pixel(4, 4), grey);
    EXPECT_EQ(mid.Pixel(4, 3), black);
    EXPECT_EQ(mid.Pixel(13, 19), grey);

    const Surface big = MakeLedCell(TLedStyle::ls19x27);
    ASSERT_EQ(big.Width(), 19);
    ASSERT_EQ(big.Height(), 27);
    EXPECT_EQ(count(big), 175);
    for (auto [x, y] : {std::pair{5, 4}, {4, 5}, {5, 5}, {6, 5}, {5, 6}, {17, 26}})
        EXPECT_EQ(big.Pixel(x, y), grey) << x << "," << y;
    for (auto [x, y] : {std::pair{4, 4}, {6, 4}, {4, 6}, {6, 6}, {3, 3}})
        EXPECT_EQ(big.Pixel(x, y), black) << x << "," << y;
}

TEST(MatrixDrawing, SizesItselfAndDrawsGlyphsInTheirColours) {
    TVrMatrixCore m;
    EXPECT_EQ(m.Width(), 15 * 14 + 14 * 2 + 4);  // defaults: 15 cells, bevel of 2
    EXPECT_EQ(m.Height(), 24);
    MainWindowSettings(m);
    EXPECT_EQ(m.Width(), 382);
    EXPECT_EQ(m.Height(), 20);

    const uint32_t olive = MatchColor(0x008080), yellow = MatchColor(0x00FFFF),
                   red = MatchColor(0x0000FF), black = MatchColor(0);
    EXPECT_EQ(m.CellImage().Pixel(0, 0), olive);
    m.SetText(Cp("a%Aa\xC5\xBD"));  // a, red a, Ž (no glyph)
    const Surface& img = m.Paint();
    ASSERT_EQ(img.Width(), 382);
    // Row 0 of A is .###.: dot 0 unlit, dots 1–3 lit as 2 × 2 squares at pitch 3.
    EXPECT_EQ(img.Pixel(0, 0), olive);
    EXPECT_EQ(img.Pixel(1, 0), black);
    for (int x : {3, 4, 6, 7, 9, 10}) {
        EXPECT_EQ(img.Pixel(x, 0), yellow) << x;
        EXPECT_EQ(img.Pixel(x, 1), yellow) << x;
        EXPECT_EQ(img.Pixel(16 + x, 1), red) << x;
    }
    EXPECT_EQ(img.Pixel(14, 0), black);  // the gap between the cells
    for (int y = 0; y < 20; ++y)         // Ž leaves its cell unlit
        for (int x = 32; x < 46; ++x) EXPECT_NE(img.Pixel(x, y), red);

    m.SetLedsVisible(false);
    m.SetOrientation(TVrOrientation::voVertical);
    m.SetLeds(3);
    EXPECT_EQ(m.Width(), 14);
    EXPECT_EQ(m.Height(), 3 * 20 + 2 * 2);
    const Surface& v = m.Paint();
    EXPECT_EQ(v.Pixel(0, 0), black);
    EXPECT_EQ(v.Pixel(3, 22), red);  // the second cell starts at y = 22, glyph upright
    EXPECT_EQ(v.Pixel(0, 22 + 3), red);
}

TEST(MatrixDrawing, WithoutAutoScrollEveryRepaintStartsFromTheAlignment) {
    TVrMatrixCore m;
    MainWindowSettings(m);
    m.SetText("HELLO");
    m.SetAutoScroll(true);
    for (int i = 0; i < 3; ++i) m.ScrollStep();
    m.Paint();
    EXPECT_EQ(m.Position(), 4);
    m.SetAutoScroll(false);
    m.Paint();
    EXPECT_EQ(m.Position(), 1);
    m.SetAutoScroll(true);
    m.ScrollStep();
    EXPECT_EQ(m.Position(), 2);
}

}  // namespace
}  // namespace pabuko
