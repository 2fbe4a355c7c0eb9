// The basic graphics: the About window's title picture and the top list's background.
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "ArtStyle.h"

namespace pabuko::art {

namespace {

struct FallingTile {
    qreal x, y, size, angle;
    int code;  // 1-26 letters, 27-38 special tiles
};

void PaintFallingTile(QPainter& p, const FallingTile& t) {
    p.save();
    const QRectF r(t.x, t.y, t.size, t.size);
    // The streak it leaves behind.
    QLinearGradient streak(0, t.y - t.size * 2.4, 0, t.y + t.size * 0.5);
    streak.setColorAt(0, QColor(200, 190, 255, 0));
    streak.setColorAt(1, QColor(200, 190, 255, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(streak);
    p.drawRoundedRect(QRectF(t.x + t.size * 0.2, t.y - t.size * 2.4, t.size * 0.6, t.size * 2.9),
                      t.size * 0.3, t.size * 0.3);
    p.translate(r.center());
    p.rotate(t.angle);
    p.translate(-r.center());
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(r.translated(2, 3), t.size * 0.14, t.size * 0.14);
    if (t.code <= 26) {
        PaintBigTile(p, r, LetterLook());
        PaintLetter(p, r, QString(QChar('A' + t.code - 1)), ArtFont(int(t.size * 0.66), true),
                    QColor(44, 28, 100), QColor(255, 255, 255, 150));
    } else {
        PaintSpecialTile(p, t.x, t.y, t.code, t.size / 15.0);
    }
    p.restore();
}

void PaintOutlinedText(QPainter& p, const QPointF& baseline, const QString& text, const QFont& font,
                       const QColor& top, const QColor& bottom, const QColor& outline,
                       qreal outlineWidth) {
    QPainterPath path;
    path.addText(baseline, font, text);
    const QRectF box = path.boundingRect();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawPath(path.translated(1.5, 2.5));
    // The outline goes under the fill, so it widens the letters instead of eating them.
    p.setPen(QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(outline);
    p.drawPath(path);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

}  // namespace

QImage AboutTitle() {
    return Opaque(300, 300, [](QPainter& p) {
        PaintNightSky(p, QRect(0, 0, 300, 300), 11);
        QRadialGradient halo(150, 150, 150);
        halo.setColorAt(0, QColor(150, 90, 220, 110));
        halo.setColorAt(0.6, QColor(90, 60, 180, 40));
        halo.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(QRect(0, 0, 300, 300), halo);

        // Tiles raining down behind the name.
        const FallingTile rain[] = {
            {18, 20, 26, -12, 16},  {70, 52, 20, 8, 27},   {118, 8, 30, 14, 1},
            {176, 40, 22, -6, 36},  {226, 14, 28, 10, 22}, {262, 70, 20, -14, 31},
            {34, 84, 18, 18, 11},   {202, 96, 16, -20, 5}, {8, 112, 20, 10, 25},
            {266, 110, 22, -8, 13}, {150, 70, 16, 22, 32}, {96, 96, 14, -16, 38},
        };
        for (const auto& tile : rain) PaintFallingTile(p, tile);

        // "Hurbo's" over the name, the name as a row of big tiles.
        QFont script = ArtFont(24, true, true);
        const QString hurbo = QStringLiteral("Hurbo's");
        const qreal hurboWidth = QFontMetricsF(script).horizontalAdvance(hurbo);
        PaintOutlinedText(p, QPointF(150 - hurboWidth / 2, 128), hurbo, script,
                          QColor(255, 248, 200), QColor(255, 184, 48), QColor(60, 24, 8), 1.3);
        PaintLogoTiles(p, 17, 140, 40, 4);

        // The well's floor with a few landed tiles and the word they spell.
        QLinearGradient floor(0, 252, 0, 300);
        floor.setColorAt(0, QColor(60, 64, 118));
        floor.setColorAt(1, QColor(0, 0, 0));
        p.fillRect(QRect(0, 262, 300, 38), floor);
        p.fillRect(QRect(0, 262, 300, 1), QColor(130, 136, 200));
        // A pile as in a well near the end of a level.
        const int pile[][3] = {{0, 0, 8},  {0, 1, 18}, {1, 0, 1},  {2, 0, 35},
                               {2, 1, 21}, {2, 2, 15}, {3, 0, 12}, {5, 0, 19},
                               {5, 1, 32}, {6, 0, 5},  {7, 0, 26}, {7, 1, 3},
                               {8, 0, 27}, {9, 0, 11}, {9, 1, 9},  {10, 0, 14}};
        for (auto [column, height, code] : pile) {
            const FallingTile t{4.0 + column * 26.5, 236.0 - height * 25, 25, 0, code};
            if (code <= 26) {
                const QRectF r(t.x, t.y, t.size, t.size);
                PaintBigTile(p, r, LetterLook());
                PaintLetter(p, r, QString(QChar('A' + code - 1)), ArtFont(16, true),
                            QColor(44, 28, 100), QColor(255, 255, 255, 150));
            } else {
                PaintSpecialTile(p, t.x, t.y, code, t.size / 15.0);
            }
        }
        QLinearGradient fade(0, 270, 0, 300);
        fade.setColorAt(0, QColor(0, 0, 0, 0));
        fade.setColorAt(1, QColor(0, 0, 0, 255));
        p.fillRect(QRect(0, 270, 300, 30), fade);
    });
}

QImage TopListBackground() {
    return Opaque(250, 300, [](QPainter& p) {
        PaintNightSky(p, QRect(0, 0, 250, 300), 23);
        // The close button's seat at 224,0 (21 x 21): the window puts a white "X" on it.
        QRadialGradient seat(234.5, 10.5, 10);
        seat.setColorAt(0, QColor(190, 40, 60));
        seat.setColorAt(1, QColor(110, 16, 40));
        p.setPen(QPen(QColor(255, 190, 200, 160), 1));
        p.setBrush(seat);
        p.drawEllipse(QPointF(234.5, 10.5), 9, 9);

        // Heading with a cup.
        QFont head = ArtFont(28, true);
        const QString title = QStringLiteral("TOP-List");
        const qreal width = QFontMetricsF(head).horizontalAdvance(title);
        PaintOutlinedText(p, QPointF(125 - width / 2 + 12, 58), title, head, QColor(255, 240, 160),
                          QColor(255, 160, 30), QColor(70, 30, 10), 2.4);
        const qreal cupX = 125 - width / 2 - 22;
        QPainterPath cup;
        cup.moveTo(cupX, 32);
        cup.lineTo(cupX + 22, 32);
        cup.cubicTo(cupX + 22, 46, cupX + 16, 52, cupX + 11, 52);
        cup.cubicTo(cupX + 6, 52, cupX, 46, cupX, 32);
        cup.addRect(QRectF(cupX + 9, 52, 4, 5));
        cup.addRoundedRect(QRectF(cupX + 4, 56, 14, 4), 1.5, 1.5);
        p.setPen(QPen(QColor(70, 30, 10), 1.6));
        QLinearGradient gold(cupX, 32, cupX + 22, 60);
        gold.setColorAt(0, QColor(255, 240, 160));
        gold.setColorAt(1, QColor(230, 140, 20));
        p.setBrush(gold);
        p.drawPath(cup);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cupX - 6, 34, 10, 10), 90 * 16, 180 * 16);
        p.drawArc(QRectF(cupX + 18, 34, 10, 10), -90 * 16, 180 * 16);

        // The card the names are written on.
        PaintCard(p, QRectF(8.5, 82.5, 233, 202), 9, 100, 105);

        p.setFont(ArtFont(10, true));
        p.setPen(colours::kLabel);
        p.drawText(QPointF(31, 101), QStringLiteral("Jméno"));
        p.drawText(QPointF(155, 101), QStringLiteral("Body"));
        p.setPen(QPen(colours::kCardEdge, 1));
        p.drawLine(QPointF(14, 105.5), QPointF(236, 105.5));

        // Rows: the window writes name and points at these tops, 11-pixel text.
        const int rowTop[10] = {112, 128, 144, 159, 175, 191, 207, 222, 238, 254};
        const QColor medals[3] = {QColor(255, 200, 40), QColor(200, 208, 222),
                                  QColor(214, 128, 64)};
        for (int r = 0; r < 10; ++r) {
            const int y = rowTop[r];
            if (r % 2 == 0) p.fillRect(QRectF(13, y - 2, 224, 15), QColor(120, 100, 40, 16));
            if (r < 3) {
                QRadialGradient medal(18.5, y + 3.5, 8);
                medal.setColorAt(0, medals[r].lighter(140));
                medal.setColorAt(1, medals[r].darker(115));
                p.setPen(QPen(medals[r].darker(220), 1));
                p.setBrush(medal);
                p.drawEllipse(QPointF(20.5, y + 5.5), 6.5, 6.5);
                p.setFont(ArtFont(9, true));
                p.setPen(QColor(60, 30, 10));
                p.drawText(QRectF(14, y - 1, 13, 13), Qt::AlignCenter, QString::number(r + 1));
            } else {
                p.setFont(ArtFont(10, true));
                p.setPen(colours::kLabel);
                p.drawText(QRectF(6, y - 1, 22, 13), Qt::AlignRight | Qt::AlignVCenter,
                           QString::number(r + 1) + QLatin1Char('.'));
            }
        }
    });
}

std::vector<RenderedPicture> RenderScreenPictures() {
    return {{"screen-0-title.png", AboutTitle()}, {"screen-1-toplist.png", TopListBackground()}};
}

}  // namespace pabuko::art
