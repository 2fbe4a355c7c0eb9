// The digit display, the hot image and the outlined label, headless: pixels of their
// offscreen pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>
#include <array>

#include "QtTestApp.h"
#include "display/DigitCells.h"
#include "display/VrDigitGroup.h"
#include "display/VrHotImage.h"
#include "display/VrLabel.h"

namespace pabuko {
namespace {

QApplication& App() {
    return testing::TestApp();
}

const QColor kGreen(0, 128, 0), kLime(0, 255, 0), kBlack(Qt::black);

// --- digit group -----------------------------------------------------------------------

// The quiz's points display: 161 × 35, 5 digits, 1 decimal.
struct Points {
    TVrDigitGroup d;
    explicit Points(double value, bool leadingZero = false) {
        d.resize(161, 35);
        d.SetDecimals(1);
        d.SetDigits(5);
        d.SetLeadingZero(leadingZero);
        d.SetValue(value);
    }
    // The colour inside segment `bit` (or the point) of cell `cell`. A cell is 161 / 5 = 32
    // pixels wide; a sixth of it (5) is kept for the point, so the digit is 27 wide and 34
    // high, its strokes t = 2 and T = 4 thick with a gap of 2 at the joints, and the halves
    // meet at y = 17. The positions below are the middles of the seven segments and the
    // point worked out from those numbers, relative to the cell's left edge.
    QColor At(int cell, uint8_t bit) const {
        struct Spot {
            uint8_t bit;
            int x, y;
        };
        static constexpr Spot kSpots[] = {
            {SegTop, 14, 2},         {SegMiddle, 14, 17},     {SegBottom, 14, 32},
            {SegUpperLeft, 2, 10},   {SegUpperRight, 25, 10}, {SegLowerLeft, 2, 25},
            {SegLowerRight, 25, 25}, {SegPoint, 29, 32},
        };
        for (const Spot& spot : kSpots)
            if (spot.bit == bit) return d.Image().pixelColor(cell * 32 + spot.x, spot.y);
        ADD_FAILURE() << "no segment " << int(bit);
        return {};
    }
    // Expects cell to show `segments` lit in `high`, the rest of the seven in `low`.
    void ExpectCell(int cell, uint8_t segments, QColor low = kGreen, QColor high = kLime) const {
        for (int i = 0; i < 8; ++i) {
            const uint8_t bit = uint8_t(1 << i);
            const QColor want = (segments & bit) ? high : bit == SegPoint ? kBlack : low;
            EXPECT_EQ(At(cell, bit), want) << "cell " << cell << " bit " << int(bit);
        }
    }
    void ExpectBlank(int cell) const {
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(At(cell, uint8_t(1 << i)), kBlack) << "cell " << cell << " bit " << (1 << i);
    }
};

TEST(DigitGroup, TextOfTheNumber) {
    EXPECT_EQ(DigitText(150, 1, 5, false, '.'), " 150.0");
    EXPECT_EQ(DigitText(150, 1, 5, true, ','), "0150,0");
    EXPECT_EQ(DigitText(123456.7, 1, 5, false, '.'), "123456.7");
    EXPECT_EQ(DigitText(2.25, 0, 3, true, '.'), "002");
    EXPECT_EQ(DigitText(-5, 1, 4, true, '.'), "-05.0");  // the minus sign takes a cell
}

TEST(DigitGroup, CellShapesOfTheSecondQuizCell) {
    // Cell 1 of the points display: x 32, 32 wide, 35 high (see Points::At for the numbers).
    const DigitShapes s = DigitCellShapes(32, 32, 35);
    EXPECT_EQ(s.segments[0],
              (SegmentHexagon{{{36, 2}, {38, 0}, {53, 0}, {55, 2}, {53, 4}, {38, 4}}}));
    EXPECT_EQ(s.segments[1],
              (SegmentHexagon{{{36, 17}, {38, 15}, {53, 15}, {55, 17}, {53, 19}, {38, 19}}}));
    EXPECT_EQ(s.segments[6],
              (SegmentHexagon{{{55, 21}, {57, 19}, {59, 21}, {59, 28}, {57, 30}, {55, 28}}}));
    EXPECT_EQ((std::array<int, 4>{s.pointLeft, s.pointTop, s.pointRight, s.pointBottom}),
              (std::array<int, 4>{59, 30, 63, 34}));
}

TEST(DigitGroup, SegmentColoursOf150WithAndWithoutLeadingZeros) {
    App();
    const Points blanks(150);
    blanks.ExpectBlank(0);
    blanks.ExpectCell(1, DigitSegments(1));
    blanks.ExpectCell(2, DigitSegments(5));
    blanks.ExpectCell(3, DigitSegments(0) | SegPoint);
    blanks.ExpectCell(4, DigitSegments(0));

    const Points zeros(150, true);
    zeros.ExpectCell(0, DigitSegments(0));
    zeros.ExpectCell(1, DigitSegments(1));
    zeros.ExpectCell(3, DigitSegments(0) | SegPoint);
}

TEST(DigitGroup, ANumberWiderThanTheCellsShowsItsLeftmostDigits) {
    App();
    const Points big(123456.7);
    for (int cell = 0; cell < 5; ++cell) big.ExpectCell(cell, DigitSegments(cell + 1));
}

TEST(DigitGroup, PaletteAfterARightOrAWrongAnswer) {
    App();
    Points right(150);
    right.d.SetPaletteLow(kBlack);  // only the lit segments stay
    right.ExpectCell(2, DigitSegments(5), kBlack, kLime);
    Points wrong(150);
    wrong.d.SetPaletteHigh(kGreen);  // lit and unlit alike
    wrong.ExpectCell(2, DigitSegments(5), kGreen, kGreen);

    Points active(150);
    active.d.SetActiveOnly(true);
    active.ExpectCell(1, DigitSegments(1), kBlack, kLime);
}

TEST(DigitGroup, OnChangeOnlyForANewValue) {
    App();
    TVrDigitGroup d;
    int changes = 0;
    d.OnChange = [&] { ++changes; };
    d.SetValue(0);
    d.SetValue(7);
    d.SetValue(7);
    EXPECT_EQ(changes, 1);
    d.SetDigits(0);  // no cells: nothing drawn, nothing divided by zero
    EXPECT_EQ(d.Image().pixelColor(5, 5), kBlack);
}

// --- hot image ---------------------------------------------------------------------------

void Enter(QWidget* w) {
    QEnterEvent e(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w, &e);
}
void Leave(QWidget* w) {
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

// Where the caption is: white pixels (the frame is yellow, the fills dark).
QImage CaptionMask(const QImage& image) {
    QImage mask(image.size(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).red() > 128 && image.pixelColor(x, y).blue() > 128)
                mask.setPixel(x, y, 1);
    return mask;
}

// A quiz answer: 313 × 21, navy when hot, a 3-pixel yellow frame.
struct Answer {
    TVrHotImage h;
    Answer() {
        h.resize(313, 21);
        h.SetCaption(QStringLiteral("Praha & Brno"));
        h.SetColorEnter(QColor(0, 0, 128));
        h.SetHotRect({QColor(255, 255, 0), 3, true});
        QFont f = h.Font();
        f.setPixelSize(9);
        h.SetFont(f);
    }
};

TEST(HotImage, ColdAndHotPicturesWithTheCaptionInOnePlace) {
    App();
    Answer a;
    const QImage cold = a.h.Image();
    EXPECT_EQ(cold.pixelColor(0, 0), kBlack);
    EXPECT_EQ(cold.pixelColor(2, 10), kBlack);
    EXPECT_EQ(cold.pixelColor(312, 20), kBlack);

    Enter(&a.h);
    ASSERT_TRUE(a.h.Hot());
    const QImage hot = a.h.Image();
    const QColor yellow(255, 255, 0), navy(0, 0, 128);
    for (const QPoint p : {QPoint(0, 0), QPoint(2, 10), QPoint(312, 20), QPoint(150, 18)})
        EXPECT_EQ(hot.pixelColor(p), yellow) << p.x() << "," << p.y();
    EXPECT_EQ(hot.pixelColor(3, 10), navy);
    EXPECT_EQ(hot.pixelColor(309, 3), navy);

    EXPECT_EQ(a.h.TextArea(), QRect(5, 5, 303, 11));
    const QImage mask = CaptionMask(cold);
    EXPECT_EQ(CaptionMask(hot), mask);
    const QRect inside = a.h.TextArea();
    int captionPixels = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.pixelIndex(x, y)) {
                ++captionPixels;
                EXPECT_TRUE(inside.contains(x, y)) << x << "," << y;
            }
    EXPECT_GT(captionPixels, 20);

    Leave(&a.h);
    EXPECT_EQ(a.h.Image(), cold);
}

TEST(HotImage, DisabledIsNeverHotAndClicksAnywhere) {
    App();
    Answer a;
    int clicks = 0;
    a.h.OnClick = [&] { ++clicks; };
    QTest::mouseClick(&a.h, Qt::LeftButton, {}, QPoint(300, 2));
    EXPECT_EQ(clicks, 1);

    Enter(&a.h);
    a.h.setEnabled(false);
    EXPECT_FALSE(a.h.Hot());
    EXPECT_EQ(a.h.Image().pixelColor(0, 0), kBlack);
    a.h.setEnabled(true);
    EXPECT_EQ(a.h.Image().pixelColor(0, 0), QColor(255, 255, 0));
}

TEST(HotImage, TransparentShowsTheParentAndOnlyItsFrameWhenHot) {
    App();
    QWidget parent;
    parent.resize(40, 40);
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, Qt::red);
    parent.setPalette(pal);
    parent.setAutoFillBackground(true);
    auto* x = new TVrHotImage(&parent);
    x->setGeometry(0, 0, 21, 21);
    x->SetTransparent(true);
    x->SetCaption(QStringLiteral("X"));
    x->SetColorEnter(QColor(255, 255, 0));
    x->SetHotRect({Qt::white, 2, true});
    EXPECT_EQ(parent.grab().toImage().pixelColor(1, 1), QColor(Qt::red));
    Enter(x);
    const QImage hot = parent.grab().toImage();
    EXPECT_EQ(hot.pixelColor(1, 1), QColor(Qt::white));
    EXPECT_EQ(hot.pixelColor(2, 2), QColor(Qt::red));
}

// --- label -------------------------------------------------------------------------------

// The bounding box of the pixels of one colour.
QRect Pixels(const QImage& image, const QColor& color) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color) box |= QRect(x, y, 1, 1);
    return box;
}

TEST(Label, RaisedLightsTheUpperLeftAndLoweredTheLowerRight) {
    App();
    TVrLabel l;
    l.resize(289, 25);
    l.SetColor(kBlack);
    l.SetCaption(QStringLiteral("Game Over"));
    l.SetColorHighlight(Qt::red);
    l.SetColorShadow(Qt::blue);
    QFont f = l.Font();
    f.setStyleStrategy(QFont::NoAntialias);  // pure colours, so edges can be told apart
    l.SetFont(f);
    l.SetFontColor(Qt::white);  // told apart from the black background
    // Each effect colour shows alone on its own side of the letters.
    QRect red = Pixels(l.Image(), Qt::red), blue = Pixels(l.Image(), Qt::blue);
    const QRect text = Pixels(l.Image(), Qt::white);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_EQ(red.topLeft(), text.topLeft() - QPoint(1, 1));
    EXPECT_EQ(blue.bottomRight(), text.bottomRight() + QPoint(1, 1));

    l.SetStyle(TVrLabelStyle::lsLowered);
    red = Pixels(l.Image(), Qt::red), blue = Pixels(l.Image(), Qt::blue);
    EXPECT_EQ(blue.topLeft(), text.topLeft() - QPoint(1, 1));
    EXPECT_EQ(red.bottomRight(), text.bottomRight() + QPoint(1, 1));

    l.SetStyle(TVrLabelStyle::lsShadow);
    l.SetShadowDepth(4);
    EXPECT_TRUE(Pixels(l.Image(), Qt::red).isEmpty());
    EXPECT_EQ(Pixels(l.Image(), Qt::blue).bottomRight(), text.bottomRight() + QPoint(4, 4));
}

TEST(Label, ACaptionLongerThanTheControlStartsAtTwo) {
    App();
    TVrLabel l;
    l.resize(60, 25);
    l.SetCaption(QStringLiteral("Gratuluji! A teď poslední otázka..."));
    EXPECT_EQ(l.CaptionOrigin().x(), 2);
    l.SetCaption(QStringLiteral("X"));
    EXPECT_GT(l.CaptionOrigin().x(), 20);
}

}  // namespace
}  // namespace pabuko
