// The skins' playfield pictures, laid out for the places the playfield drawing puts them
// (core/ScreenLayout.h): "new", warm tiles in a steel well, and "noc", a moonlit night with
// dark glass tiles and amber letters. Both share the layout; a theme gives each its colours
// and its own drawings.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "ArtStyle.h"
#include "core/ScreenLayout.h"
#include "core/TileTable.h"

namespace pabuko::art {

namespace {

using namespace layout;

struct Theme {
    std::string name;
    QColor stone, stoneShade;  // the wall; its shade falls from the top
    QColor floorTop, floorBottom, floorLight, floorDark;
    QColor trayTop, trayBottom, slotTop, slotBottom;
    QColor steel, steelLight, steelDark, glass, rimDark, slotMark;
    QColor wellTop, wellBottom, wellTint, wellGlow;
    QColor skyTop, skyBottom, stars, title;
    QColor card, cardEdge, field, fieldEdge, fieldLine, label, divider;
    TileLook letter;
    QColor ink, inkGlow;
    int specialsDarker;  // as for QColor::darker, 100 = the faces as they are
    bool moon;           // a moon over the panel and crescents for the lives
};

const Theme& NewTheme() {
    static const Theme t{
        .name = "new",
        .stone = colours::kStone,
        .stoneShade = QColor(4, 4, 20),
        .floorTop = QColor(70, 74, 128),
        .floorBottom = QColor(30, 30, 66),
        .floorLight = QColor(120, 126, 190),
        .floorDark = QColor(24, 24, 54),
        .trayTop = colours::kSteelDark,
        .trayBottom = colours::kSteelLight,
        .slotTop = QColor(8, 10, 28),
        .slotBottom = QColor(30, 36, 80),
        .steel = colours::kSteel,
        .steelLight = colours::kSteelLight,
        .steelDark = colours::kSteelDark,
        .glass = colours::kGlass,
        .rimDark = QColor(6, 8, 22),
        .slotMark = QColor(255, 255, 255),
        .wellTop = colours::kWellTop,
        .wellBottom = colours::kWellBottom,
        .wellTint = QColor(140, 160, 255),
        .wellGlow = QColor(120, 100, 255),
        .skyTop = colours::kNightTop,
        .skyBottom = colours::kNightBottom,
        .stars = QColor(220, 225, 255),
        .title = colours::kGold,
        .card = colours::kCard,
        .cardEdge = colours::kCardEdge,
        .field = colours::kField,
        .fieldEdge = QColor(206, 194, 160),
        .fieldLine = QColor(226, 218, 196),
        .label = colours::kLabel,
        .divider = QColor(224, 214, 188),
        .letter = LetterLook(),
        .ink = QColor(44, 28, 100),
        .inkGlow = QColor(255, 255, 255, 150),
        .specialsDarker = 100,
        .moon = false,
    };
    return t;
}

// Night: blue-black stone, a teal-black well, graphite pillars with moonlit edges, a pale
// moon over the panel; the tiles are dark glass with a silver rim and amber letters, like
// lit windows. The counter fields stay light: the game writes the numbers in navy.
const Theme& NightTheme() {
    static const Theme t{
        .name = "noc",
        .stone = QColor(34, 40, 52),
        .stoneShade = QColor(0, 2, 6),
        .floorTop = QColor(52, 60, 74),
        .floorBottom = QColor(10, 12, 18),
        .floorLight = QColor(150, 170, 196),
        .floorDark = QColor(4, 6, 10),
        .trayTop = QColor(22, 26, 34),
        .trayBottom = QColor(130, 150, 178),
        .slotTop = QColor(2, 6, 10),
        .slotBottom = QColor(12, 30, 38),
        .steel = QColor(64, 70, 84),
        .steelLight = QColor(170, 188, 214),
        .steelDark = QColor(22, 24, 32),
        .glass = QColor(6, 16, 22),
        .rimDark = QColor(0, 2, 4),
        .slotMark = QColor(160, 255, 240),
        .wellTop = QColor(2, 5, 9),
        .wellBottom = QColor(8, 26, 32),
        .wellTint = QColor(90, 220, 210),
        .wellGlow = QColor(40, 200, 190),
        .skyTop = QColor(2, 3, 10),
        .skyBottom = QColor(16, 24, 48),
        .stars = QColor(230, 236, 255),
        .title = QColor(236, 240, 255),
        .card = QColor(58, 66, 92),
        .cardEdge = QColor(140, 156, 196),
        .field = QColor(232, 238, 250),
        .fieldEdge = QColor(150, 164, 200),
        .fieldLine = QColor(210, 218, 236),
        .label = QColor(52, 60, 96),
        .divider = QColor(186, 196, 222),
        .letter = TileLook{QColor(58, 70, 100), QColor(26, 32, 52), QColor(104, 122, 168),
                           QColor(14, 16, 28), QColor(176, 196, 232)},
        .ink = QColor(255, 196, 84),
        .inkGlow = QColor(0, 0, 0, 170),
        .specialsDarker = 125,
        .moon = true,
    };
    return t;
}

QColor Alpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

// Unused columns and the outer wall: dim stone blocks on the well's 15-pixel grid, so the
// picture left of the playable columns meets the background without a seam wherever it lies.
void PaintStones(QPainter& p, const Theme& t, const QRect& area, int phaseX) {
    p.save();
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor base = t.stone;
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
    auto shade = [&](int alpha) {
        QColor c = t.stoneShade;
        c.setAlpha(alpha);
        return c;
    };
    depth.setColorAt(0, shade(120));
    depth.setColorAt(0.6, shade(30));
    depth.setColorAt(1, shade(0));
    p.fillRect(area, depth);
    p.restore();
}

// The slab under the well that carries the word row; plain horizontally for the same reason.
void PaintFloor(QPainter& p, const Theme& t, int left, int right) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient g(0, kWellBottom + 1, 0, kScreenHeight);
    g.setColorAt(0, t.floorTop);
    g.setColorAt(1, t.floorBottom);
    p.fillRect(QRect(left, kWellBottom + 1, right - left + 1, kScreenHeight - kWellBottom - 1), g);
    p.fillRect(QRect(left, kWellBottom + 1, right - left + 1, 1), t.floorLight);
    p.fillRect(QRect(left, kWellBottom + 2, right - left + 1, 1), t.floorDark);
    p.restore();
}

// The word tray: a dark slot with a steel rim, from `left` to `right` (rim included).
void PaintTray(QPainter& p, const Theme& t, int left, int right, bool capLeft, bool capRight) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const int top = kWordY - 3, bottom = kWordY + 17;
    QLinearGradient rim(0, top, 0, bottom);
    rim.setColorAt(0, t.trayTop);
    rim.setColorAt(1, t.trayBottom);
    p.fillRect(QRect(left, top, right - left + 1, bottom - top + 1), rim);
    QLinearGradient slot(0, kWordY, 0, kWordY + 15);
    slot.setColorAt(0, t.slotTop);
    slot.setColorAt(1, t.slotBottom);
    int innerLeft = capLeft ? left + 3 : left;
    int innerRight = capRight ? right - 3 : right;
    if (innerRight >= innerLeft)
        p.fillRect(QRect(innerLeft, kWordY - 1, innerRight - innerLeft + 1, 17), slot);
    p.restore();
}

// The pillar beside the well: the wall with the mouth at rows 4-5, the stack's glass tube and
// its outer frame. 32 pixels wide; `mirrored` puts the tube on the left of the wall.
void PaintPillar(QPainter& p, const Theme& t, int originX, bool mirrored) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // Local x 0-10 wall, 11-25 tube, 26-31 frame; mirrored flips that order.
    static_assert(kPillarWidth == 32 && kPillarWall == 11 && kCellSize == 15);
    auto rect = [&](int lx, int y, int w, int h) {
        int x = mirrored ? originX + kPillarWidth - lx - w : originX + lx;
        return QRect(x, y, w, h);
    };
    // Steel body with a soft vertical sheen.
    QLinearGradient steel(originX, 0, originX + 32, 0);
    steel.setColorAt(0, t.steel.darker(115));
    steel.setColorAt(0.35, t.steel.lighter(118));
    steel.setColorAt(1, t.steel.darker(140));
    p.fillRect(rect(0, 0, 32, kWellBottom + 1), steel);
    // Edge lines: light on the side facing the well, dark on the outside.
    p.fillRect(rect(0, 0, 1, kWellBottom + 1), t.steelDark);
    p.fillRect(rect(1, 0, 1, kWellBottom + 1), t.steelLight);
    p.fillRect(rect(31, 0, 1, kWellBottom + 1), t.steelDark.darker(130));
    // Rivets on the frame.
    for (int y = 8; y < kWellBottom; y += 26) {
        QRect r = rect(27, y, 3, 3);
        p.fillRect(r, t.steelDark);
        p.fillRect(r.x(), r.y(), 2, 2, t.steelLight);
    }
    // The glass: the mouth (through the wall) and the tube down to slot 0.
    QLinearGradient glass(mirrored ? originX + 32 : originX, 0, mirrored ? originX : originX + 32,
                          0);
    glass.setColorAt(0, t.glass);
    glass.setColorAt(0.55, t.glass.lighter(160));
    glass.setColorAt(1, t.glass);
    const QRect mouth = rect(1, kMouthTop, 25, kMouthBottom - kMouthTop + 1);
    const QRect tube = rect(11, kMouthTop, 15, kSlotBottom - kMouthTop + 1);
    p.fillRect(mouth, glass);
    p.fillRect(tube, glass);
    // Rims of the glass: dark above and on the outer side, light below.
    const QColor rimDark = t.rimDark, rimLight = t.steelLight;
    p.fillRect(rect(1, kMouthTop - 1, 26, 1), rimDark);
    p.fillRect(rect(26, kMouthTop - 1, 1, kSlotBottom - kMouthTop + 2), rimDark);
    p.fillRect(rect(1, kMouthBottom + 1, 10, 1), rimLight);
    p.fillRect(rect(10, kMouthBottom + 1, 1, kSlotBottom - kMouthBottom + 1), rimDark);
    p.fillRect(rect(10, kSlotBottom + 1, 17, 1), rimLight);
    // Slot marks, faint, so a player can count what the stack holds.
    for (int s = 0; s < kStackSlots; ++s) {
        const int y = StackY(s);
        p.fillRect(rect(11, y, 15, 1), Alpha(t.slotMark, 18));
        p.fillRect(rect(12, y + 7, 1, 1), Alpha(t.slotMark, 40));
        p.fillRect(rect(24, y + 7, 1, 1), Alpha(t.slotMark, 40));
    }
    // Arrows in the mouth point into the stack.
    const QColor arrow = Alpha(t.slotMark, 44);
    for (int i = 0; i < 4; ++i) {
        p.fillRect(rect(4 + i, kMouthTop + 11 + i, 1, 8 - 2 * i), arrow);
    }
    p.restore();
}

void PaintWell(QPainter& p, const Theme& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect well(kWellLeft, 0, kWellRight - kWellLeft + 1, kWellBottom + 1);
    QLinearGradient depth(0, 0, 0, kWellBottom);
    depth.setColorAt(0, t.wellTop);
    depth.setColorAt(1, t.wellBottom);
    p.fillRect(well, depth);
    // Every other column a shade lighter, to aim by.
    for (int c = 1; c < kWellColumns; c += 2)
        p.fillRect(QRect(WellX(c), 0, kCellSize, kWellBottom + 1), Alpha(t.wellTint, 10));
    // Row marks on the column borders.
    for (int c = 0; c <= kWellColumns; ++c)
        for (int r = 1; r < kWellRows; ++r)
            p.fillRect(WellX(c) - (c == kWellColumns), WellY(r), 1, 1, Alpha(t.wellTint, 40));
    // The rows where a tile can be pushed out.
    p.fillRect(QRect(kWellLeft, kMouthTop, well.width(), kMouthBottom - kMouthTop + 1),
               Alpha(t.wellTint, 14));
    p.fillRect(QRect(kWellLeft, kMouthTop, well.width(), 1), Alpha(t.wellTint, 26));
    p.fillRect(QRect(kWellLeft, kMouthBottom, well.width(), 1), Alpha(t.wellTint, 26));
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
    glow.setColorAt(0, Alpha(t.wellGlow, 40));
    glow.setColorAt(1, Alpha(t.wellGlow, 0));
    p.fillRect(QRect(kWellLeft, kWellBottom - 60, well.width(), 61), glow);
    p.restore();
}

void PaintCounterField(QPainter& p, const Theme& t, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(t.fieldEdge, 1));
    p.setBrush(t.field);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(QPen(t.fieldLine, 1));
    p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    p.restore();
}

void PaintLabel(QPainter& p, const Theme& t, int x, int y, const QString& text) {
    p.save();
    p.setFont(ArtFont(11, true));
    p.setPen(t.label);
    p.drawText(QPoint(x, y), text);
    p.restore();
}

// A pale moon with a soft halo and a few dim seas.
void PaintMoon(QPainter& p, const QPointF& centre, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    QRadialGradient halo(centre, radius * 2.6);
    halo.setColorAt(0, QColor(200, 214, 255, 90));
    halo.setColorAt(0.4, QColor(160, 180, 255, 30));
    halo.setColorAt(1, QColor(160, 180, 255, 0));
    p.setBrush(halo);
    p.drawEllipse(centre, radius * 2.6, radius * 2.6);
    QRadialGradient face(centre - QPointF(radius * 0.35, radius * 0.35), radius * 1.3);
    face.setColorAt(0, QColor(255, 253, 236));
    face.setColorAt(1, QColor(214, 212, 196));
    p.setBrush(face);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(QColor(170, 168, 160, 90));
    p.drawEllipse(centre + QPointF(radius * 0.25, -radius * 0.2), radius * 0.28, radius * 0.22);
    p.drawEllipse(centre + QPointF(-radius * 0.3, radius * 0.3), radius * 0.18, radius * 0.16);
    p.drawEllipse(centre + QPointF(radius * 0.35, radius * 0.45), radius * 0.12, radius * 0.1);
    p.restore();
}

// A crescent moon: the life marker of the night skin.
void PaintCrescent(QPainter& p, const QRectF& r, const QColor& colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath disc;
    disc.addEllipse(r);
    QPainterPath bite;
    bite.addEllipse(r.translated(r.width() * 0.38, -r.height() * 0.16));
    const QPainterPath crescent = disc.subtracted(bite);
    QRadialGradient fill(r.left() + r.width() * 0.3, r.center().y(), r.width() * 0.7);
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(260), std::max<qreal>(1.0, r.width() * 0.07)));
    p.setBrush(fill);
    p.drawPath(crescent);
    p.restore();
}

// The sky behind the panel: a gradient with stars, for the night skin a moon too.
void PaintSky(QPainter& p, const Theme& t, const QRect& r, unsigned seed) {
    PaintStarrySky(p, r, t.skyTop, t.skyBottom, t.stars, seed);
    if (t.moon) PaintMoon(p, QPointF(r.right() - 19, r.top() + 19), 11);
}

void PaintPanel(QPainter& p, const Theme& t) {
    const QRect panel(kPanelLeft, 0, kScreenWidth - kPanelLeft, kScreenHeight);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    if (t.moon)
        PaintSky(p, t, panel, 7);
    else
        PaintNightSky(p, panel, 7);
    // Title.
    p.setFont(ArtFont(12, true, true));
    p.setPen(t.title);
    p.drawText(QRect(panel.left(), 10, t.moon ? 120 : panel.width(), 16),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Hurbo's"));
    if (t.moon)
        PaintLogoTiles(p, 264, 34, 19, 2.6, t.letter, t.ink, t.inkGlow);
    else
        PaintLogoTiles(p, 264, 34, 19, 2.6);
    // The counter card.
    const QRectF card(262.5, 98.5, 132, 190);
    if (t.moon) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 110));
        p.drawRoundedRect(card.translated(2, 3), 8, 8);
        QLinearGradient fill(card.topLeft(), card.bottomLeft());
        fill.setColorAt(0, t.card.lighter(120));
        fill.setColorAt(1, t.card.darker(115));
        p.setPen(QPen(t.cardEdge, 1));
        p.setBrush(fill);
        p.drawRoundedRect(card, 8, 8);
    } else {
        PaintCard(p, card, 8, 90, 106);
    }
    p.restore();

    // Labels above their fields; the game writes the numbers at fixed points inside them.
    const QColor onCard = t.moon ? t.field : t.label;
    Theme labels = t;
    labels.label = onCard;
    // A field frames its number, which starts 7 pixels in and 4 down; `labelRise` is how far
    // the label's baseline lies above the field.
    auto counter = [&](Point number, const QString& label, int labelRise) {
        const QRect field(number.x - 7, number.y - 4, 118, 25);
        PaintLabel(p, labels, field.left() + 2, field.top() - labelRise, label);
        PaintCounterField(p, t, field);
    };
    counter(kScoreAt, QStringLiteral("Skóre"), 4);
    counter(kTilesLeftAt, QStringLiteral("Kostky"), 4);
    // One field holds the lives and, under them, the level number.
    const QRect lives(kLivesAt.x - 5, kLivesAt.y - 3, 118, 46);
    PaintLabel(p, labels, lives.left() + 2, lives.top() - 2, QStringLiteral("Životy"));
    PaintCounterField(p, t, lives);
    // The lives end at kLivesAt.y + 15 and the level number's digits start 2 pixels under
    // kLevelAt.y: the divider lies between them, and the label shares the digits' baseline.
    p.save();
    p.setPen(t.divider);
    p.drawLine(lives.left() + 6, kLevelAt.y - 2, lives.right() - 5, kLevelAt.y - 2);
    p.restore();
    PaintLabel(p, t, lives.left() + 8, kLevelAt.y + 14, QStringLiteral("Level"));
    counter(kTopScoreAt, QStringLiteral("Rekord"), 3);
}

QImage Background(const Theme& t) {
    return Opaque(kScreenWidth, kScreenHeight, [&](QPainter& p) {
        PaintStones(p, t, QRect(0, 0, kWellLeft, kWellBottom + 1), kWellLeft % kCellSize);
        PaintWell(p, t);
        PaintPillar(p, t, kWellRight + 1, false);
        PaintFloor(p, t, 0, kPanelLeft - 1);
        PaintTray(p, t, kWellLeft - 3, kWellRight + 3, true, true);
        PaintPanel(p, t);
        // The panel's edge casts a little shade onto the pillar.
        QLinearGradient edge(kPanelLeft, 0, kPanelLeft + 4, 0);
        edge.setColorAt(0, QColor(0, 0, 0, 120));
        edge.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRect(kPanelLeft, 0, 4, kScreenHeight), edge);
    });
}

QImage LeftPart(const Theme& t) {
    // Drawn at LeftPictureX: the well grid lies at x = 10 (mod 15) here, the left stack at 134.
    constexpr int width = kLeftPictureWidth, pillar = width - kPillarWidth;
    constexpr int gridPhase = ((kWellLeft - LeftPictureX(0)) % kCellSize + kCellSize) % kCellSize;
    static_assert(LeftStackX(0) - LeftPictureX(0) ==
                  pillar + kPillarWidth - kPillarWall - kCellSize);
    return Opaque(width, kScreenHeight, [&](QPainter& p) {
        PaintStones(p, t, QRect(0, 0, pillar, kWellBottom + 1), gridPhase);
        PaintPillar(p, t, pillar, true);
        PaintFloor(p, t, 0, width - 1);
        PaintTray(p, t, width - 3, width + 2, true, false);
    });
}

// The life marker lies on the lives field, so that is its matte.
QImage LifeMarker(const Theme& t) {
    return Keyed(20, 20, t.field, [&](QPainter& p) {
        if (t.moon)
            PaintCrescent(p, QRectF(2.5, 1, 14.5, 14.5), QColor(255, 204, 92));
        else
            PaintHeart(p, QRectF(2.5, 1, 15, 14.5), colours::kCoral);
    });
}

QImage Letters(const Theme& t) {
    return Opaque(26 * 15, 15, [&](QPainter& p) {
        const QFont font = ArtFont(12, true);
        for (int i = 0; i < 26; ++i)
            PaintCellLetter(p, 15 * i, 0, QString(QChar('A' + i)), font, t.ink, t.inkGlow,
                            t.letter);
    });
}

QImage Specials(const Theme& t) {
    // In code order: the game draws code n with pattern n - 27.
    return Opaque(int(kSpecialTiles.size()) * kCellSize, kCellSize, [&](QPainter& p) {
        for (const SpecialTile& tile : kSpecialTiles)
            PaintSpecialTile(p, kCellSize * (tile.Code - TileExtraLife), 0, tile.Code, 1.0,
                             t.specialsDarker);
    });
}

QImage Barrier(const Theme& t) {
    // Fits the 11-pixel wall from either side: the game draws it at LeftBarrierX on the left
    // and at kRightBarrierX on the right, so only local x 2-9 is opaque.
    return Keyed(12, 30, t.glass, [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        const QRect bar(2, 0, 8, 30);
        if (t.moon) {
            // A dark gate with three red lamps.
            p.fillRect(bar, QColor(30, 32, 40));
            p.fillRect(2, 0, 1, 30, t.steelLight);
            p.fillRect(9, 0, 1, 30, QColor(4, 4, 8));
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            for (int y : {6, 15, 24}) {
                QRadialGradient lamp(QPointF(6, y), 3.2);
                lamp.setColorAt(0, QColor(255, 220, 200));
                lamp.setColorAt(0.45, QColor(255, 60, 50));
                lamp.setColorAt(1, QColor(120, 10, 10));
                p.setBrush(lamp);
                p.drawEllipse(QPointF(6, y), 2.6, 2.6);
            }
            return;
        }
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

void AddSkin(std::vector<RenderedPicture>& out, const Theme& t) {
    const std::string prefix = "skin-" + t.name + "-";
    out.push_back({prefix + "0-background.png", Background(t)});
    out.push_back({prefix + "1-life.png", LifeMarker(t)});
    out.push_back({prefix + "2-letters.png", Letters(t)});
    out.push_back({prefix + "3-specials.png", Specials(t)});
    out.push_back({prefix + "4-barrier.png", Barrier(t)});
    out.push_back({prefix + "5-left.png", LeftPart(t)});
}

}  // namespace

std::vector<RenderedPicture> RenderSkinPictures() {
    std::vector<RenderedPicture> out;
    AddSkin(out, NewTheme());
    AddSkin(out, NightTheme());
    return out;
}

}  // namespace pabuko::art
