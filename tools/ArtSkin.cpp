// The standard skin "new": the playfield pictures, laid out for the places the playfield
// drawing puts them (well at x 42-221, stacks at x0 - 26 and 233, word row at y 275).
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "ArtStyle.h"

namespace pabuko::art {

namespace {

constexpr int kWellLeft = 42;
constexpr int kWellRight = 221;  // last pixel of column 11
constexpr int kWellBottom = 269;
constexpr int kWordY = 275;
constexpr int kMouthTop = 60;  // rows 4 and 5 open into the stacks
constexpr int kMouthBottom = 89;
constexpr int kSlotTop = 106;  // slot 8
constexpr int kSlotBottom = 240;

// Unused columns and the outer wall: dim stone blocks on the well's 15-pixel grid, so the
// picture left of the playable columns meets the background without a seam wherever it lies.
void PaintStones(QPainter& p, const QRect& area, int phaseX) {
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor base = colours::stone;
    int firstX = area.left() - ((area.left() - phaseX) % 15 + 15) % 15;
    for (int x = firstX; x <= area.right(); x += 15) {
        for (int y = 0; y <= kWellBottom; y += 15) {
            Dice dice(unsigned(x * 31 + y * 7 + 5));
            const int shift = int(dice.Range(-7, 7));
            QColor face = QColor(base.red() + shift, base.green() + shift, base.blue() + shift);
            QLinearGradient g(x, y, x + 4, y + 15);
            g.setColorAt(0, face.lighter(112));
            g.setColorAt(1, face.darker(112));
            p.fillRect(x, y, 15, 15, base.darker(190));
            p.fillRect(x, y, 14, 14, g);
            p.fillRect(x, y, 14, 1, face.lighter(135));
            p.fillRect(x, y + 1, 1, 13, face.lighter(125));
            p.fillRect(x + 1, y + 13, 13, 1, face.darker(135));
            p.fillRect(x + 13, y + 1, 1, 12, face.darker(125));
            // A few pits, so the wall does not look like empty tiles.
            for (int i = 0; i < 3; ++i) {
                int px = x + 2 + int(dice.Range(0, 10)), py = y + 2 + int(dice.Range(0, 10));
                p.fillRect(px, py, 1, 1, face.darker(125));
            }
        }
    }
    // Deeper at the top: light falls in from the floor of the well. Only vertical, so it
    // stays seamless.
    QLinearGradient depth(0, 0, 0, kWellBottom);
    depth.setColorAt(0, QColor(4, 4, 20, 120));
    depth.setColorAt(0.6, QColor(4, 4, 20, 30));
    depth.setColorAt(1, QColor(4, 4, 20, 0));
    p.fillRect(area, depth);
    p.restore();
}

// The slab under the well that carries the word row; plain horizontally for the same reason.
void PaintFloor(QPainter& p, int left, int right) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient g(0, kWellBottom + 1, 0, 300);
    g.setColorAt(0, QColor(70, 74, 128));
    g.setColorAt(1, QColor(30, 30, 66));
    p.fillRect(QRect(left, kWellBottom + 1, right - left + 1, 300 - kWellBottom - 1), g);
    p.fillRect(QRect(left, kWellBottom + 1, right - left + 1, 1), QColor(120, 126, 190));
    p.fillRect(QRect(left, kWellBottom + 2, right - left + 1, 1), QColor(24, 24, 54));
    p.restore();
}

// The word tray: a dark slot with a steel rim, from `left` to `right` (rim included).
void PaintTray(QPainter& p, int left, int right, bool capLeft, bool capRight) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int top = kWordY - 3, bottom = kWordY + 17;
    QLinearGradient rim(0, top, 0, bottom);
    rim.setColorAt(0, colours::steelDark);
    rim.setColorAt(1, colours::steelLight);
    p.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), rim);
    QLinearGradient slot(0, kWordY, 0, kWordY + 15);
    slot.setColorAt(0, QColor(8, 10, 28));
    slot.setColorAt(1, QColor(30, 36, 80));
    int innerLeft = capLeft ? left + 3 : left;
    int innerRight = capRight ? right - 3 : right;
    if (innerRight >= innerLeft)
        p.fillRect(QRect(innerLeft, kWordY - 1, innerRight - innerLeft + 1, 17), slot);
    p.restore();
}

// The pillar beside the well: the wall with the mouth at rows 4-5, the stack's glass tube and
// its outer frame. 32 pixels wide; `mirrored` puts the tube on the left of the wall.
void PaintPillar(QPainter& p, int originX, bool mirrored) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Local x 0-10 wall, 11-25 tube, 26-31 frame; mirrored flips that order.
    auto rect = [&](int lx, int y, int w, int h) {
        int x = mirrored ? originX + 32 - lx - w : originX + lx;
        return QRect(x, y, w, h);
    };
    // Steel body with a soft vertical sheen.
    QLinearGradient steel(originX, 0, originX + 32, 0);
    steel.setColorAt(0, colours::steel.darker(115));
    steel.setColorAt(0.35, colours::steel.lighter(118));
    steel.setColorAt(1, colours::steel.darker(140));
    p.fillRect(rect(0, 0, 32, kWellBottom + 1), steel);
    // Edge lines: light on the side facing the well, dark on the outside.
    p.fillRect(rect(0, 0, 1, kWellBottom + 1), colours::steelDark);
    p.fillRect(rect(1, 0, 1, kWellBottom + 1), colours::steelLight);
    p.fillRect(rect(31, 0, 1, kWellBottom + 1), colours::steelDark.darker(130));
    // Rivets on the frame.
    for (int y = 8; y < kWellBottom; y += 26) {
        QRect r = rect(27, y, 3, 3);
        p.fillRect(r, colours::steelDark);
        p.fillRect(r.x(), r.y(), 2, 2, colours::steelLight);
    }
    // The glass: the mouth (through the wall) and the tube down to slot 0.
    QLinearGradient glass(mirrored ? originX + 32 : originX, 0, mirrored ? originX : originX + 32,
                          0);
    glass.setColorAt(0, colours::glass);
    glass.setColorAt(0.55, colours::glass.lighter(160));
    glass.setColorAt(1, colours::glass);
    const QRect mouth = rect(1, kMouthTop, 25, kMouthBottom - kMouthTop + 1);
    const QRect tube = rect(11, kMouthTop, 15, kSlotBottom - kMouthTop + 1);
    p.fillRect(mouth, glass);
    p.fillRect(tube, glass);
    // Rims of the glass: dark above and on the outer side, light below.
    const QColor rimDark = QColor(6, 8, 22), rimLight = colours::steelLight;
    p.fillRect(rect(1, kMouthTop - 1, 26, 1), rimDark);
    p.fillRect(rect(26, kMouthTop - 1, 1, kSlotBottom - kMouthTop + 2), rimDark);
    p.fillRect(rect(1, kMouthBottom + 1, 10, 1), rimLight);
    p.fillRect(rect(10, kMouthBottom + 1, 1, kSlotBottom - kMouthBottom + 1), rimDark);
    p.fillRect(rect(10, kSlotBottom + 1, 17, 1), rimLight);
    // Slot marks, faint, so a player can count what the stack holds.
    for (int s = 0; s < 9; ++s) {
        const int y = kSlotBottom - 15 * s - 14;
        p.fillRect(rect(11, y, 15, 1), QColor(255, 255, 255, 18));
        p.fillRect(rect(12, y + 7, 1, 1), QColor(255, 255, 255, 40));
        p.fillRect(rect(24, y + 7, 1, 1), QColor(255, 255, 255, 40));
    }
    // Arrows in the mouth point into the stack.
    const QColor arrow(255, 255, 255, 44);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(rect(4 + i, kMouthTop + 11 + i, 1, 8 - 2 * i), arrow);
    }
    p.restore();
}

void PaintWell(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect well(kWellLeft, 0, kWellRight - kWellLeft + 1, kWellBottom + 1);
    QLinearGradient depth(0, 0, 0, kWellBottom);
    depth.setColorAt(0, colours::wellTop);
    depth.setColorAt(1, colours::wellBottom);
    p.fillRect(well, depth);
    // Every other column a shade lighter, to aim by.
    for (int c = 1; c < 12; c += 2)
        p.fillRect(QRect(kWellLeft + 15 * c, 0, 15, kWellBottom + 1), QColor(140, 160, 255, 10));
    // Row marks on the column borders.
    for (int c = 0; c <= 12; ++c)
        for (int r = 1; r < 18; ++r)
            p.fillRect(kWellLeft + 15 * c - (c == 12), 15 * r, 1, 1, QColor(140, 160, 255, 40));
    // The rows where a tile can be pushed out.
    p.fillRect(QRect(kWellLeft, kMouthTop, well.width(), kMouthBottom - kMouthTop + 1),
               QColor(150, 170, 255, 14));
    p.fillRect(QRect(kWellLeft, kMouthTop, well.width(), 1), QColor(150, 170, 255, 26));
    p.fillRect(QRect(kWellLeft, kMouthBottom, well.width(), 1), QColor(150, 170, 255, 26));
    p.setRenderHint(QPainter::Antialiasing, true);
    // Inner shadows at the walls and a glow rising from the floor.
    QLinearGradient leftShade(kWellLeft, 0, kWellLeft + 6, 0);
    leftShade.setColorAt(0, QColor(0, 0, 0, 110));
    leftShade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(kWellLeft, 0, 6, kWellBottom + 1), leftShade);
    QLinearGradient rightShade(kWellRight + 1, 0, kWellRight - 5, 0);
    rightShade.setColorAt(0, QColor(0, 0, 0, 110));
    rightShade.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRect(kWellRight - 5, 0, 6, kWellBottom + 1), rightShade);
    QLinearGradient glow(0, kWellBottom, 0, kWellBottom - 60);
    glow.setColorAt(0, QColor(120, 100, 255, 40));
    glow.setColorAt(1, QColor(120, 100, 255, 0));
    p.fillRect(QRect(kWellLeft, kWellBottom - 60, well.width(), 61), glow);
    p.restore();
}

void PaintCounterField(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(206, 194, 160), 1));
    p.setBrush(colours::field);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(QColor(226, 218, 196), 1));
    p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    p.restore();
}

void PaintLabel(QPainter& p, int x, int y, const QString& text) {
    p.save();
    p.setFont(ArtFont(11, true));
    p.setPen(colours::label);
    p.drawText(QPoint(x, y), text);
    p.restore();
}

void PaintPanel(QPainter& p) {
    const QRect panel(254, 0, 146, 300);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintNightSky(p, panel, 7);
    // Title.
    p.setFont(ArtFont(12, true, true));
    p.setPen(colours::gold);
    p.drawText(QRect(254, 10, 146, 16), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Hurbo's"));
    PaintLogoTiles(p, 264, 34, 19, 2.6);
    // The counter card.
    PaintCard(p, QRectF(262.5, 98.5, 132, 190), 8, 90, 106);
    p.restore();

    // Labels above their fields; the game writes the numbers at fixed points inside them.
    PaintLabel(p, 272, 116, QStringLiteral("Skóre"));
    PaintCounterField(p, QRect(270, 120, 118, 25));
    PaintLabel(p, 272, 156, QStringLiteral("Kostky"));
    PaintCounterField(p, QRect(270, 160, 118, 25));
    PaintLabel(p, 272, 195, QStringLiteral("Životy"));
    PaintCounterField(p, QRect(270, 197, 118, 46));
    // The hearts (drawn at y 200) end at 215 and the level number's digits start at 222:
    // the divider lies between them, and the label shares the digits' baseline.
    p.save();
    p.setPen(QColor(224, 214, 188));
    p.drawLine(276, 218, 382, 218);
    p.restore();
    PaintLabel(p, 278, 234, QStringLiteral("Level"));
    PaintLabel(p, 272, 254, QStringLiteral("Rekord"));
    PaintCounterField(p, QRect(270, 257, 118, 25));
}

}  // namespace

QImage SkinBackground() {
    return Opaque(400, 300, [](QPainter& p) {
        PaintStones(p, QRect(0, 0, kWellLeft, kWellBottom + 1), kWellLeft % 15);
        PaintWell(p);
        PaintPillar(p, kWellRight + 1, false);
        PaintFloor(p, 0, 253);
        PaintTray(p, kWellLeft - 3, kWellRight + 3, true, true);
        PaintPanel(p);
        // The panel's edge casts a little shade onto the pillar.
        QLinearGradient edge(254, 0, 258, 0);
        edge.setColorAt(0, QColor(0, 0, 0, 120));
        edge.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRect(254, 0, 4, 300), edge);
    });
}

QImage SkinLeftPart() {
    // Drawn at x0 - 160: the well grid lies at x = 10 (mod 15) here, the left stack at 134.
    return Opaque(160, 300, [](QPainter& p) {
        PaintStones(p, QRect(0, 0, 128, kWellBottom + 1), 10);
        PaintPillar(p, 128, true);
        PaintFloor(p, 0, 159);
        PaintTray(p, 157, 162, true, false);
    });
}

QImage SkinLifeMarker() {
    return Keyed(20, 20, colours::field,
                 [](QPainter& p) { PaintHeart(p, QRectF(2.5, 1, 15, 14.5), colours::coral); });
}

QImage SkinLetters() {
    return Opaque(26 * 15, 15, [](QPainter& p) {
        const QFont font = ArtFont(12, true);
        for (int i = 0; i < 26; ++i)
            PaintCellLetter(p, 15 * i, 0, QString(QChar('A' + i)), font, QColor(44, 28, 100),
                            QColor(255, 255, 255, 150), LetterLook());
    });
}

QImage SkinSpecials() {
    return Opaque(12 * 15, 15, [](QPainter& p) {
        for (int code = 27; code <= 38; ++code) PaintSpecialTile(p, 15 * (code - 27), 0, code);
    });
}

QImage SkinBarrier() {
    // Fits the 11-pixel gap from either side: the game draws it at x0 - 10 on the left and at
    // 221 on the right, so only local x 2-9 is opaque.
    return Keyed(12, 30, colours::glass, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        const QRect bar(2, 0, 8, 30);
        p.fillRect(bar, QColor(250, 246, 236));
        p.save();
        p.setClipRect(bar);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 40, 48));
        for (int y = -10; y < 40; y += 8) {
            QPolygonF stripe;
            stripe << QPointF(0, y) << QPointF(12, y + 6) << QPointF(12, y + 10)
                   << QPointF(0, y + 4);
            p.drawPolygon(stripe);
        }
        p.restore();
        p.fillRect(2, 0, 1, 30, QColor(255, 255, 255, 200));
        p.fillRect(9, 0, 1, 30, QColor(90, 10, 20));
        p.fillRect(2, 0, 8, 2, QColor(60, 62, 90));
        p.fillRect(2, 28, 8, 2, QColor(60, 62, 90));
    });
}

std::vector<RenderedPicture> RenderSkinPictures() {
    return {{"skin-new-0-background.png", SkinBackground()},
            {"skin-new-1-life.png", SkinLifeMarker()},
            {"skin-new-2-letters.png", SkinLetters()},
            {"skin-new-3-specials.png", SkinSpecials()},
            {"skin-new-4-barrier.png", SkinBarrier()},
            {"skin-new-5-left.png", SkinLeftPart()}};
}

}  // namespace pabuko::art
