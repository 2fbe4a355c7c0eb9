#include "ArtStyle.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <initializer_list>

#include "core/TileTable.h"

namespace pabuko::art {

unsigned Dice::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

TileLook LetterLook() {
    return {QColor(255, 248, 226), QColor(247, 210, 128), QColor(255, 255, 246),
            QColor(214, 156, 70), QColor(120, 74, 30)};
}

TileLook LookFrom(const QColor& face) {
    return {face.lighter(125), face.darker(108), face.lighter(165), face.darker(150),
            face.darker(260)};
}

QFont ArtFont(int pixelSize, bool bold, bool italic) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void PaintCellTile(QPainter& p, int x, int y, const TileLook& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.fillRect(x, y, 15, 15, look.edge);
    QLinearGradient face(x, y + 1, x, y + 14);
    face.setColorAt(0, look.faceTop);
    face.setColorAt(1, look.faceBottom);
    p.fillRect(x + 1, y + 1, 13, 13, face);
    p.fillRect(x + 1, y + 1, 12, 1, look.light);
    p.fillRect(x + 1, y + 2, 1, 11, look.light);
    p.fillRect(x + 2, y + 13, 12, 1, look.shade);
    p.fillRect(x + 13, y + 2, 1, 11, look.shade);
    p.restore();
}

void PaintBigTile(QPainter& p, const QRectF& r, const TileLook& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const qreal radius = r.width() * 0.14;
    p.setPen(Qt::NoPen);
    p.setBrush(look.edge);
    p.drawRoundedRect(r, radius, radius);
    const qreal bevel = std::max<qreal>(1.0, r.width() * 0.08);
    QRectF inner = r.adjusted(1, 1, -1, -1);
    QLinearGradient rim(inner.topLeft(), inner.bottomRight());
    rim.setColorAt(0, look.light);
    rim.setColorAt(0.5, look.faceBottom);
    rim.setColorAt(1, look.shade);
    p.setBrush(rim);
    p.drawRoundedRect(inner, radius * 0.9, radius * 0.9);
    QRectF face = inner.adjusted(bevel, bevel, -bevel, -bevel);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, look.faceTop);
    fill.setColorAt(1, look.faceBottom);
    p.setBrush(fill);
    p.drawRoundedRect(face, radius * 0.6, radius * 0.6);
    // Gloss over the upper half.
    QRectF gloss = face.adjusted(face.width() * 0.06, face.height() * 0.04, -face.width() * 0.06,
                                 -face.height() * 0.55);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 120));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawRoundedRect(gloss, radius * 0.5, radius * 0.5);
    p.restore();
}

void PaintLetter(QPainter& p, const QRectF& r, const QString& letter, const QFont& font,
                 const QColor& ink, const QColor& glow) {
    p.save();
    p.setFont(font);
    p.setPen(glow);
    p.drawText(r.translated(0, 1), Qt::AlignCenter, letter);
    p.setPen(ink);
    p.drawText(r, Qt::AlignCenter, letter);
    p.restore();
}

void PaintCellLetter(QPainter& p, int x, int y, const QString& letter, const QFont& font,
                     const QColor& ink, const QColor& glow, const TileLook& look) {
    auto paint = [&](bool withLetter, qreal sx, qreal sy, int lift) {
        QImage cell(15, 15, QImage::Format_RGB32);
        cell.fill(Qt::black);
        QPainter q(&cell);
        q.setRenderHint(QPainter::Antialiasing, true);
        q.setRenderHint(QPainter::TextAntialiasing, true);
        PaintCellTile(q, 0, 0, look);
        if (withLetter) {
            q.translate(7.5, 7.5 - lift);
            q.scale(sx, sy);
            q.translate(-7.5, -7.5);
            PaintLetter(q, QRectF(0, 0, 15, 15), letter, font, ink, glow);
        }
        return cell;
    };
    // The outline and the bevel: two pixels all round.
    const QImage blank = paint(false, 1, 1, 0);
    auto fits = [&](const QImage& cell) {
        for (int j = 0; j < 15; ++j)
            for (int i = 0; i < 15; ++i)
                if ((i < 2 || i > 12 || j < 2 || j > 12) && cell.pixel(i, j) != blank.pixel(i, j))
                    return false;
        return true;
    };
    QImage cell;
    for (const qreal shrink : {1.0, 0.92, 0.85, 0.78})
        for (const qreal narrow : {1.0, 0.92, 0.85})
            for (const int lift : {0, 1}) {
                cell = paint(true, shrink * narrow, shrink, lift);
                if (fits(cell)) {
                    p.drawImage(x, y, cell);
                    return;
                }
            }
    p.drawImage(x, y, cell);
}

void PaintHeart(QPainter& p, const QRectF& r, const QColor& colour) {
    const qreal w = r.width(), h = r.height(), x = r.x(), y = r.y();
    QPainterPath heart;
    heart.moveTo(x + w * 0.5, y + h * 0.98);
    heart.cubicTo(x + w * 0.1, y + h * 0.68, x - w * 0.02, y + h * 0.42, x + w * 0.06,
                  y + h * 0.22);
    heart.cubicTo(x + w * 0.16, y - h * 0.02, x + w * 0.44, y + h * 0.0, x + w * 0.5, y + h * 0.24);
    heart.cubicTo(x + w * 0.56, y + h * 0.0, x + w * 0.84, y - h * 0.02, x + w * 0.94,
                  y + h * 0.22);
    heart.cubicTo(x + w * 1.02, y + h * 0.42, x + w * 0.9, y + h * 0.68, x + w * 0.5, y + h * 0.98);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient fill(x + w * 0.36, y + h * 0.3, w * 0.8);
    fill.setColorAt(0, colour.lighter(150));
    fill.setColorAt(0.45, colour);
    fill.setColorAt(1, colour.darker(160));
    p.setPen(QPen(colour.darker(240), std::max<qreal>(1.0, w * 0.07)));
    p.setBrush(fill);
    p.drawPath(heart);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QRectF(x + w * 0.2, y + h * 0.2, w * 0.18, h * 0.14));
    p.restore();
}

namespace {

// A closed outline through `points`, as a subpath of its own.
void AddOutline(QPainterPath& path, std::initializer_list<QPointF> points) {
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
}

// A coin seen from the front: rim, face and a small star, in the metal of its value.
void Coin(QPainter& p, qreal cx, qreal cy, qreal d, const QColor& metal) {
    p.setPen(QPen(metal.darker(260), 0.9));
    QRadialGradient face(cx - d * 0.2, cy - d * 0.2, d * 0.7);
    face.setColorAt(0, metal.lighter(160));
    face.setColorAt(0.6, metal);
    face.setColorAt(1, metal.darker(140));
    p.setBrush(face);
    p.drawEllipse(QPointF(cx, cy), d / 2, d / 2);
    p.setPen(QPen(metal.darker(170), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(cx, cy), d * 0.3, d * 0.3);
}

// One, two or three arrows side by side: how many tiles below it takes, countable while the
// tile falls. Pixel-built, so they stay sharp at 15 pixels; each casts a dark shadow to the
// lower right that parts it from its neighbour.
void DownArrows(QPainter& p, int count) {
    p.setRenderHint(QPainter::Antialiasing, false);
    struct Shape {
        int centre, shaftHalf, headTop, headHalf;
    };
    // In the face's 11 x 11 pixels from (2, 2); the shadow may fall on the bevel's shade.
    static const std::vector<Shape> shapes[3] = {
        {{5, 1, 5, 4}},
        {{2, 0, 6, 2}, {8, 0, 6, 2}},
        {{1, 0, 7, 1}, {5, 0, 7, 1}, {9, 0, 7, 1}},
    };
    auto arrow = [&](const Shape& a, int dx, int dy, const QColor& c) {
        const int x = 2 + dx + a.centre, y = 2 + dy;
        p.fillRect(x - a.shaftHalf, y, 2 * a.shaftHalf + 1, a.headTop, c);
        for (int r = 0; r <= a.headHalf; ++r)
            p.fillRect(x - a.headHalf + r, y + a.headTop + r, 2 * (a.headHalf - r) + 1, 1, c);
    };
    for (const Shape& a : shapes[count - 1]) arrow(a, 1, 1, QColor(110, 44, 6));
    for (const Shape& a : shapes[count - 1]) arrow(a, 0, 0, QColor(255, 255, 255));
}

void RowArrow(QPainter& p, bool left) {
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor white(255, 255, 255), dark(60, 20, 100);
    auto px = [&](int x, int y, int w, int h, const QColor& c) {
        p.fillRect(left ? x : 15 - x - w, y, w, h, c);
    };
    // The wall the row is swept to, then the arrow pointing at it.
    px(2, 3, 2, 9, dark);
    px(2, 3, 1, 9, QColor(255, 236, 140));
    px(6, 7, 7, 1, white);
    px(6, 8, 7, 1, dark);
    const int head[][2] = {{5, 7}, {6, 6}, {7, 5}, {8, 4}};
    for (auto [x, y] : head) {
        int h = 2 * (7 - y) + 1;
        px(x, y, 1, h, white);
        px(x, y + h, 1, 1, dark);
    }
}

}  // namespace

void PaintSpecialTile(QPainter& p, qreal x, qreal y, int code, qreal scale, int faceDarker) {
    // A code past the table shows a plain slate face.
    const SpecialTile* tile = code >= 0 && code <= 255 ? FindSpecialTile(uint8_t(code)) : nullptr;
    const QColor face = QColor(QRgb(tile ? tile->Face : SpecialTile{}.Face)).darker(faceDarker);
    if (scale == 1.0)
        PaintCellTile(p, int(x), int(y), LookFrom(face));
    else
        PaintBigTile(p, QRectF(x, y, 15 * scale, 15 * scale), LookFrom(face));
    if (!tile) return;
    p.save();
    p.translate(x, y);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    switch (tile->Symbol) {
        case TileSymbol::Heart:
            PaintHeart(p, QRectF(2.5, 3, 10, 9.5), QColor(255, 236, 240));
            break;
        case TileSymbol::DownArrows:
            DownArrows(p, tile->Removes);
            break;
        case TileSymbol::Bolt: {
            // A bolt straight down the column.
            QPainterPath bolt;
            AddOutline(bolt,
                       {{9.8, 0.8}, {3.2, 8.4}, {7.0, 8.4}, {5.0, 14.2}, {11.8, 5.8}, {8.0, 5.8}});
            p.setPen(QPen(QColor(16, 30, 90), 1.0));
            p.setBrush(QColor(255, 236, 90));
            p.drawPath(bolt);
            break;
        }
        case TileSymbol::Hourglass: {
            // Hourglass: the fall takes its time.
            p.setPen(QPen(QColor(20, 70, 36), 0.9));
            p.setBrush(QColor(250, 248, 236));
            QPainterPath glass;
            AddOutline(glass, {{4, 2.5}, {11, 2.5}, {7.9, 7.5}, {11, 12.5}, {4, 12.5}, {7.1, 7.5}});
            p.drawPath(glass);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 180, 50));
            QPainterPath sand;
            AddOutline(sand, {{5.6, 4.2}, {9.4, 4.2}, {7.5, 7.2}});
            AddOutline(sand, {{7.5, 9.4}, {10, 12}, {5, 12}});
            p.drawPath(sand);
            p.setPen(QPen(QColor(20, 70, 36), 1.2));
            p.drawLine(QPointF(3.2, 2.4), QPointF(11.8, 2.4));
            p.drawLine(QPointF(3.2, 12.6), QPointF(11.8, 12.6));
            break;
        }
        case TileSymbol::RowArrow:
            RowArrow(p, tile->OnLanding == Landing::DeleteRowLeft);
            break;
        case TileSymbol::SilverCoins: {
            const QColor silver(206, 214, 228);
            Coin(p, 5.2, 9.6, 8, silver);
            Coin(p, 9.8, 5.4, 8, silver);
            break;
        }
        case TileSymbol::GoldCoins: {
            const QColor gold(255, 196, 40);
            Coin(p, 4.8, 10.0, 7, gold);
            Coin(p, 10.2, 10.0, 7, gold);
            Coin(p, 7.5, 4.8, 7, gold);
            break;
        }
        case TileSymbol::CopperCoin:
            Coin(p, 7.5, 7.5, 10, QColor(210, 122, 58));
            break;
        case TileSymbol::Whirl: {
            // A whirl that swallows the whole stack.
            QPainterPath whirl;
            const double cx = 7.5, cy = 7.5;
            for (int i = 0; i <= 60; ++i) {
                double t = i / 60.0;
                double angle = t * 4.2 * M_PI;
                double rr = 0.6 + 5.6 * t;
                QPointF pt(cx + rr * std::cos(angle), cy + rr * std::sin(angle));
                if (i == 0)
                    whirl.moveTo(pt);
                else
                    whirl.lineTo(pt);
            }
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(6, 60, 60), 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(whirl);
            p.setPen(QPen(QColor(235, 255, 250), 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(whirl);
            break;
        }
    }
    p.restore();
}

void PaintLogoTiles(QPainter& p, qreal left, qreal top, qreal size, qreal gap, const TileLook& look,
                    const QColor& ink, const QColor& glow) {
    const QString name = QStringLiteral("PABUKO");
    const qreal wave[] = {2, -1, 1, -2, 0, 2};
    const qreal tilt[] = {-6, 4, -3, 5, -4, 6};
    for (int i = 0; i < name.size(); ++i) {
        p.save();
        const QRectF r(left + i * (size + gap), top + wave[i], size, size);
        p.translate(r.center());
        p.rotate(tilt[i]);
        p.translate(-r.center());
        // A soft shadow under each tile.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(r.translated(1.5, 2.5), 3, 3);
        PaintBigTile(p, r, look);
        PaintLetter(p, r, name.mid(i, 1), ArtFont(int(size * 0.68), true), ink, glow);
        p.restore();
    }
}

void PaintNightSky(QPainter& p, const QRect& r, unsigned seed) {
    PaintStarrySky(p, r, colours::kNightTop, colours::kNightBottom, QColor(220, 225, 255), seed);
}

void PaintStarrySky(QPainter& p, const QRect& r, const QColor& top, const QColor& bottom,
                    QColor stars, unsigned seed) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    p.fillRect(r, sky);
    Dice dice(seed);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < r.width() * r.height() / 260; ++i) {
        const qreal x = r.left() + dice.Range(0, r.width()),
                    y = r.top() + dice.Range(0, r.height());
        const int a = int(dice.Range(40, 170));
        const qreal s = dice.Range(0.6, 1.6);
        stars.setAlpha(a);
        p.setBrush(stars);
        p.drawEllipse(QPointF(x, y), s * 0.5, s * 0.5);
    }
}

void PaintCard(QPainter& p, const QRectF& card, qreal radius, int shadowAlpha, int darkerBy) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, shadowAlpha));
    p.drawRoundedRect(card.translated(2, 3), radius, radius);
    QLinearGradient cardFill(card.topLeft(), card.bottomLeft());
    cardFill.setColorAt(0, colours::kCard.lighter(103));
    cardFill.setColorAt(1, colours::kCard.darker(darkerBy));
    p.setPen(QPen(colours::kCardEdge, 1));
    p.setBrush(cardFill);
    p.drawRoundedRect(card, radius, radius);
}

QImage Keyed(int width, int height, const QColor& matte,
             const std::function<void(QPainter&)>& paint) {
    QImage layer(width, height, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        paint(p);
    }
    QImage out(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int a = qAlpha(src[x]);
            if (a < 128) {
                dst[x] = kKey;
                continue;
            }
            auto mix = [&](int premul, int back) { return premul + back * (255 - a) / 255; };
            QRgb c = qRgb(mix(qRed(src[x]), matte.red()), mix(qGreen(src[x]), matte.green()),
                          mix(qBlue(src[x]), matte.blue()));
            if (c == kKey) c = qRgb(255, 1, 255);
            dst[x] = c;
        }
    }
    return out;
}

QImage Opaque(int width, int height, const std::function<void(QPainter&)>& paint) {
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::black);
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        paint(p);
    }
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width; ++x)
            if ((line[x] | 0xFF000000) == kKey) line[x] = qRgb(255, 1, 255);
    }
    return out;
}

}  // namespace pabuko::art
