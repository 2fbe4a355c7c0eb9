#include "display/VrDigitGroup.h"

#include <QLocale>
#include <QPainter>
#include <QPolygon>

#include "display/DigitCells.h"

namespace pabuko {

TVrDigitGroup::TVrDigitGroup(QWidget* parent) : OffscreenControl(parent) {
    resize(160, 40);
    Redraw();
}

void TVrDigitGroup::SetValue(double value) {
    if (value == value_) return;
    value_ = value;
    Redraw();
    if (OnChange) OnChange();
}

void TVrDigitGroup::SetDecimals(int decimals) {
    Set(decimals_, decimals);
}
void TVrDigitGroup::SetDigits(int digits) {
    Set(digits_, digits);
}
void TVrDigitGroup::SetPaletteLow(const QColor& color) {
    Set(low_, color);
}
void TVrDigitGroup::SetPaletteHigh(const QColor& color) {
    Set(high_, color);
}
void TVrDigitGroup::SetActiveOnly(bool on) {
    Set(activeOnly_, on);
}
void TVrDigitGroup::SetLeadingZero(bool on) {
    Set(leadingZero_, on);
}
void TVrDigitGroup::SetOutlineColor(const QColor& color) {
    Set(outline_, color);
}
void TVrDigitGroup::SetColor(const QColor& color) {
    Set(color_, color);
}

void TVrDigitGroup::Draw(QPainter& p) {
    if (digits_ <= 0) return;
    // The separator takes no cell, so which one the system uses changes nothing drawn;
    // it only has to be told apart from the digits.
    const QString systemPoint = QLocale::system().decimalPoint();
    const char separator = systemPoint.size() == 1 && systemPoint[0].unicode() < 0x80
                               ? char(systemPoint[0].unicode())
                               : '.';
    const std::string text = DigitText(value_, decimals_, digits_, leadingZero_, separator);
    const int cellWidth = width() / digits_;
    p.setPen(QPen(outline_, 1));
    for (const DigitCell& cell : DigitCells(text, separator, cellWidth, width())) {
        if (cell.blank) continue;
        const DigitShapes shapes = DigitCellShapes(cell.x, cellWidth, height());
        for (int i = 0; i < 7; ++i) {
            const bool lit = (cell.segments >> i) & 1;
            if (!lit && activeOnly_) continue;
            QPolygon polygon;
            for (const SegmentPoint& pt : shapes.segments[size_t(i)]) polygon << QPoint(pt.x, pt.y);
            p.setBrush(lit ? high_ : low_);
            p.drawPolygon(polygon);
        }
        if (cell.segments & SegPoint) {
            p.setBrush(high_);
            // The outline covers the left and top edges up to one pixel short of the
            // right and bottom ones, as the rectangle's corners are given.
            p.drawRect(QRect(shapes.pointLeft, shapes.pointTop,
                             shapes.pointRight - shapes.pointLeft - 1,
                             shapes.pointBottom - shapes.pointTop - 1));
        }
    }
}

}  // namespace pabuko
