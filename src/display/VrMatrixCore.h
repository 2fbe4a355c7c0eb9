#pragma once
// TVrMatrix without the window: the LED scroller's properties, text parsing with colour
// codes, case conversion, position and scroll step, and the drawing of its offscreen
// image. The widget (display/VrMatrix.h) adds the timer and puts the image on screen.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "display/Surface.h"

namespace pabuko {

enum class TLedStyle { ls9x13, ls14x20, ls19x27 };
enum class TVrAlignment { vaLeftJustify, vaRightJustify, vaCenter };
enum class TVrMatrixScrollDirection { msdRightToLeft, msdLeftToRight };
enum class TVrTextStyle { tsUpperCase, tsLowerCase, tsAsIs, tsProperCase };
enum class TVrOrientation { voVertical, voHorizontal };

struct LedCellGeometry {
    int Width;
    int Height;
    int Dot;  // dot size d; the pitch is d + 1
};
LedCellGeometry CellGeometry(TLedStyle style);

// The cell picture of a style as it would come from the resources: black background and
// the unlit 5 × 7 dots in grey (0x808080).
Surface MakeLedCell(TLedStyle style);

// Windows-1250 case pairs (á/Á, č/Č, ř/Ř, š/Š, ž/Ž, ů/Ů, …); other bytes unchanged.
unsigned char Cp1250Upper(unsigned char c);
unsigned char Cp1250Lower(unsigned char c);
std::string ApplyTextStyle(std::string text, TVrTextStyle style);

// A text with its colour codes taken out: one code character per shown character.
struct MatrixText {
    std::string Shown;
    std::string Codes;
};
MatrixText ParseMatrixText(std::string_view text, TVrTextStyle style);
// The colour (0x00BBGGRR) of a colour code; `high` for '0', '-' and unknown codes.
uint32_t CodeColor(char code, uint32_t high);

struct TVrPalette {
    uint32_t Low = 0x008000;   // unlit dots
    uint32_t High = 0x00FF00;  // lit dots without a colour code
    bool operator==(const TVrPalette&) const = default;
};

// The frame around the cells: a lowered edge of Width pixels.
struct TVrBevel {
    bool Visible = true;
    int Width = 2;
    uint32_t Color = 0x000000;
    int Inset() const { return Visible ? Width : 0; }
    bool operator==(const TVrBevel&) const = default;
};

class TVrMatrixCore {
  public:
    TVrMatrixCore();

    int32_t Leds() const { return leds_; }
    void SetLeds(int32_t leds);
    int32_t Spacing() const { return spacing_; }
    void SetSpacing(int32_t spacing);
    TLedStyle LedStyle() const { return ledStyle_; }
    void SetLedStyle(TLedStyle style);
    bool LedsVisible() const { return ledsVisible_; }
    void SetLedsVisible(bool visible);
    TVrAlignment Alignment() const { return alignment_; }
    void SetAlignment(TVrAlignment alignment);
    TVrMatrixScrollDirection ScrollDirection() const { return scrollDirection_; }
    void SetScrollDirection(TVrMatrixScrollDirection direction);
    TVrTextStyle TextStyle() const { return textStyle_; }
    void SetTextStyle(TVrTextStyle style);
    TVrOrientation Orientation() const { return orientation_; }
    void SetOrientation(TVrOrientation orientation);
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool on);
    // Kept for the form's sake; the widget always times its steps on the UI thread.
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool threaded);
    int32_t TimeInterval() const { return timeInterval_; }
    void SetTimeInterval(int32_t ms);
    const TVrPalette& Palette() const { return palette_; }
    void SetPalette(const TVrPalette& palette);
    const TVrBevel& Bevel() const { return bevel_; }
    void SetBevel(const TVrBevel& bevel);
    uint32_t Color() const { return color_; }
    void SetColor(uint32_t color);
    const std::string& Text() const { return text_; }
    // Parses at once; the position stays.
    void SetText(std::string text);

    const MatrixText& Parsed() const { return parsed_; }
    // 1-based index of the shown character in the first cell.
    int32_t Position() const { return position_; }
    // As after loading from a form: position from the alignment.
    void Loaded() { PositionFromAlignment(); }
    void PositionFromAlignment();
    // One tick of the scroll timer; raises OnScrollDone before the position resets.
    void ScrollStep();

    // The size the control gives itself: the strip plus the bevel on each side.
    int Width() const;
    int Height() const;
    // The recoloured cell picture of the current style.
    const Surface& CellImage() const { return cell_; }
    // Draws the offscreen image (Width × Height) and returns it. While AutoScroll is off
    // the position is first set from the alignment.
    const Surface& Paint();
    const Surface& Image() const { return image_; }

    std::function<void()> OnScrollDone;
    // Something shown or timed changed; the widget repaints, resizes and re-arms.
    std::function<void()> OnChanged;

  private:
    void Reparse();
    void Recolor();
    void Changed();
    int StripWidth() const;
    int StripHeight() const;

    int32_t leds_ = 15;
    int32_t spacing_ = 2;
    TLedStyle ledStyle_ = TLedStyle::ls14x20;
    bool ledsVisible_ = true;
    TVrAlignment alignment_ = TVrAlignment::vaLeftJustify;
    TVrMatrixScrollDirection scrollDirection_ = TVrMatrixScrollDirection::msdRightToLeft;
    TVrTextStyle textStyle_ = TVrTextStyle::tsUpperCase;
    TVrOrientation orientation_ = TVrOrientation::voHorizontal;
    bool autoScroll_ = false;
    bool threaded_ = true;
    int32_t timeInterval_ = 500;
    TVrPalette palette_;
    TVrBevel bevel_;
    uint32_t color_ = 0x000000;
    std::string text_;

    MatrixText parsed_;
    int32_t position_ = 1;
    Surface cell_;
    Surface image_;
};

}  // namespace pabuko
