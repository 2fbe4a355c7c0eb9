#pragma once
// The look of the shipped pictures: one palette and the painting helpers that the skin, the
// About title and the top list background share, so that they read as one game.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace pabuko::art {

// Colour key of every keyed picture: pixels of exactly this colour are not drawn.
inline constexpr QRgb kKey = 0xFFFF00FF;
// The game draws the counters and the top list in this colour.
inline const QColor kInk{0, 0, 128};

namespace colours {
inline const QColor kNightTop{18, 20, 52};
inline const QColor kNightBottom{44, 32, 84};
inline const QColor kStone{50, 54, 100};
inline const QColor kWellTop{10, 13, 38};
inline const QColor kWellBottom{26, 32, 74};
inline const QColor kSteelLight{170, 180, 232};
inline const QColor kSteel{104, 114, 178};
inline const QColor kSteelDark{44, 50, 98};
inline const QColor kGlass{14, 18, 44};
inline const QColor kCard{246, 240, 224};
inline const QColor kCardEdge{196, 176, 128};
inline const QColor kField{255, 253, 245};
inline const QColor kLabel{88, 92, 150};
inline const QColor kGold{255, 198, 61};
inline const QColor kCoral{255, 107, 91};
}  // namespace colours

// Colours of one bevelled tile.
struct TileLook {
    QColor faceTop, faceBottom, light, shade, edge;
};
TileLook LetterLook();
TileLook LookFrom(const QColor& face);

// "Arial" of the game, at an exact pixel size so pictures do not depend on the screen.
QFont ArtFont(int pixelSize, bool bold, bool italic = false);

// A 15 x 15 bevelled tile drawn pixel-exact (no smoothing at the edges, so neighbours meet
// cleanly in the well).
void PaintCellTile(QPainter& p, int x, int y, const TileLook& look);
// A tile of any size with rounded corners and a soft gloss, for the title pictures.
void PaintBigTile(QPainter& p, const QRectF& r, const TileLook& look);
// A 15 x 15 letter tile whose letter (and its bevel) stays off the tile's outline and bevel:
// one that would touch them (a Q's tail, a wide W) is lifted or narrowed until it fits.
void PaintCellLetter(QPainter& p, int x, int y, const QString& letter, const QFont& font,
                     const QColor& ink, const QColor& glow, const TileLook& look);
// A letter centred in a rectangle, with a light bevel under it.
void PaintLetter(QPainter& p, const QRectF& r, const QString& letter, const QFont& font,
                 const QColor& ink, const QColor& glow);
// Special tile `code` (27-38, as core/TileTable.h pictures it) in a 15 x 15 cell; `scale` paints
// it bigger, `faceDarker` (as for QColor::darker) deepens the tile's face for a darker skin.
void PaintSpecialTile(QPainter& p, qreal x, qreal y, int code, qreal scale = 1.0,
                      int faceDarker = 100);
// The game's name as a row of tilted letter tiles, starting at (left, top).
void PaintLogoTiles(QPainter& p, qreal left, qreal top, qreal size, qreal gap,
                    const TileLook& look = LetterLook(), const QColor& ink = QColor(44, 28, 100),
                    const QColor& glow = QColor(255, 255, 255, 160));
// A night gradient with faint stars.
void PaintNightSky(QPainter& p, const QRect& r, unsigned seed);
// A sky from `top` to `bottom` with stars of that colour, placed by `seed`.
void PaintStarrySky(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom,
                    QColor stars, unsigned seed);
// The spare-life heart.
void PaintHeart(QPainter& p, const QRectF& r, const QColor& colour);
// A paper card with a drop shadow, lit from the top; `shadowAlpha` and `darkerBy` (the shade
// at the bottom, as for QColor::darker) suit it to its background.
void PaintCard(QPainter& p, const QRectF& card, qreal radius, int shadowAlpha, int darkerBy);

// Paints with smoothing onto a transparent layer and flattens it against `matte`: pixels less
// than half covered become the colour key, the others are made opaque. The key colour never
// appears by accident in an opaque pixel.
QImage Keyed(int width, int height, const QColor& matte,
             const std::function<void(QPainter&)>& paint);
// An opaque picture (format RGB32) painted with smoothing.
QImage Opaque(int width, int height, const std::function<void(QPainter&)>& paint);

// A small repeatable noise source, so every build paints the same pictures.
class Dice {
  public:
    explicit Dice(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    unsigned Next();
    double Unit() { return (Next() & 0xFFFFFF) / double(0x1000000); }
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

  private:
    unsigned state_;
};

// Every picture the tool renders, by file name.
struct RenderedPicture {
    std::string file;
    QImage image;
};
std::vector<RenderedPicture> RenderScreenPictures();
// The pictures of every skin, named skin-NAME-INDEX-WHAT.png.
std::vector<RenderedPicture> RenderSkinPictures();

QImage AboutTitle();
QImage TopListBackground();

}  // namespace pabuko::art
