#include "display/DigitCells.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pabuko {

uint8_t DigitSegments(int digit) {
    static constexpr uint8_t kSegments[10] = {0x7D, 0x50, 0x37, 0x57, 0x5A,
                                              0x4F, 0x6F, 0x51, 0x7F, 0x5F};
    return digit >= 0 && digit <= 9 ? kSegments[digit] : 0;
}

std::string DigitText(double value, int decimals, int digits, bool leadingZero, char separator) {
    // More decimals than a double holds only add zeros; the bound keeps the text short.
    decimals = std::clamp(decimals, 0, 20);
    std::string text;
    if (!std::isfinite(value)) {
        text = std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF";
    } else {
        char buffer[400];  // the longest double in fixed notation, with 20 decimals
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                     std::chars_format::fixed, decimals);
        text.assign(buffer, r.ptr);
        if (text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos)
            text.erase(0, 1);  // -0.0 shows as 0.0
        const auto point = text.find('.');
        if (point != std::string::npos) text[point] = separator;
    }
    const int separators = static_cast<int>(std::count(text.begin(), text.end(), separator));
    const int missing = std::min(digits, 1000) - (static_cast<int>(text.size()) - separators);
    if (missing > 0) {
        const size_t at = leadingZero && text.starts_with("-") ? 1 : 0;
        text.insert(at, static_cast<size_t>(missing), leadingZero ? '0' : ' ');
    }
    return text;
}

std::vector<DigitCell> DigitCells(const std::string& text, char separator, int cellWidth,
                                  int controlWidth) {
    std::vector<DigitCell> cells;
    if (cellWidth <= 0) return cells;
    int x = 0;
    for (const char c : text) {
        if (c == separator) {
            if (!cells.empty() && !cells.back().blank) cells.back().segments |= SegPoint;
            continue;
        }
        if (x >= controlWidth) break;
        DigitCell cell;
        cell.x = x;
        if (c >= '0' && c <= '9') {
            cell.blank = false;
            cell.segments = DigitSegments(c - '0');
        } else if (c == '-') {
            cell.blank = false;
            cell.segments = SegMiddle;
        }
        cells.push_back(cell);
        x += cellWidth;
    }
    return cells;
}

DigitShapes DigitCellShapes(int x, int w, int h) {
    const int m = w / 6;  // kept free on the right for the decimal point
    const int W = w - m;
    const int H = h - 1;
    const int t = std::min(H / 12, W / 12);
    const int T = 2 * t;
    const int g = 2;
    const int half = H / 2;

    auto horizontal = [&](int y0) -> SegmentHexagon {
        return {{{x + t + g, y0 + t},
                 {x + T + g, y0},
                 {x + W - T - g, y0},
                 {x + W - t - g, y0 + t},
                 {x + W - T - g, y0 + T},
                 {x + T + g, y0 + T}}};
    };
    auto vertical = [&](int x0, int y0) -> SegmentHexagon {
        return {{{x0, y0 + T + g},
                 {x0 + t, y0 + t + g},
                 {x0 + T, y0 + T + g},
                 {x0 + T, y0 + half - t - g},
                 {x0 + t, y0 + half - g},
                 {x0, y0 + half - t - g}}};
    };

    DigitShapes s;
    s.segments = {horizontal(0),
                  horizontal(half - t),
                  horizontal(H - T),
                  vertical(x, 0),
                  vertical(x + W - T, 0),
                  vertical(x, half - t),
                  vertical(x + W - T, half - t)};
    s.pointLeft = x + W;
    s.pointTop = H - T;
    s.pointRight = x + W + T;
    s.pointBottom = H;
    return s;
}

}  // namespace pabuko
