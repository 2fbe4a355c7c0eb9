#pragma once
// The seven-segment digit display without a window: the text of the number, which cell
// shows what, and the shapes of a cell's segments.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pabuko {

// Segment bits of one digit cell.
enum SegmentBit : uint8_t {
    SegTop = 1,
    SegMiddle = 2,
    SegBottom = 4,
    SegUpperLeft = 8,
    SegUpperRight = 16,
    SegLowerLeft = 32,
    SegLowerRight = 64,
    SegPoint = 128,
};

// The lit segments of digit 0-9 (no decimal point).
uint8_t DigitSegments(int digit);

// Value in fixed notation with `decimals` digits after `separator`, padded on the left
// with '0' (leadingZero) or ' ' until it holds `digits` characters besides the separator.
// A negative value keeps its minus sign in front of the zeros.
std::string DigitText(double value, int decimals, int digits, bool leadingZero, char separator);

struct DigitCell {
    int x = 0;             // left edge
    bool blank = true;     // nothing drawn, not even unlit segments
    uint8_t segments = 0;  // lit segments, SegPoint included
};

// The cells of `text` from the left, cellWidth apart, as far as they start inside
// controlWidth. The separator takes no cell and lights the point of the digit before it;
// '-' lights the middle segment; anything else but a digit leaves its cell blank.
std::vector<DigitCell> DigitCells(const std::string& text, char separator, int cellWidth,
                                  int controlWidth);

struct SegmentPoint {
    int x = 0;
    int y = 0;
    bool operator==(const SegmentPoint&) const = default;
};
using SegmentHexagon = std::array<SegmentPoint, 6>;

struct DigitShapes {
    // In the order of the bits: top, middle, bottom, upper left, upper right, lower left,
    // lower right.
    std::array<SegmentHexagon, 7> segments;
    // The decimal point, right and bottom edges excluded.
    int pointLeft = 0, pointTop = 0, pointRight = 0, pointBottom = 0;
};

// The segment shapes of a cell with left edge x, width w in a control h pixels high.
DigitShapes DigitCellShapes(int x, int w, int h);

}  // namespace pabuko
