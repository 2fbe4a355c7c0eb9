// The top list window, headless: its picture and its "X".
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QTest>

#include "display/VrHotImage.h"
#include "endgame/TopListFile.h"
#include "endgame/TopListWindow.h"
#include "endgame/WindowApp.h"

namespace pabuko {
namespace {

using testing::WindowApp;

QImage Background() {
    QImage image(250, 300, QImage::Format_RGB32);
    image.fill(QColor(200, 220, 240));
    return image;
}

// Whether any navy pixel lies in the band of text rows [y, y + 11) between x0 and x1.
bool NavyIn(const QImage& picture, int x0, int x1, int y) {
    for (int yy = y; yy < y + 11; ++yy)
        for (int x = x0; x < x1; ++x) {
            const QColor c = picture.pixelColor(x, yy);
            if (c.red() < 90 && c.green() < 90 && c.blue() > 90) return true;
        }
    return false;
}

TEST(TopListWindow, NamesAndScoresInTheirColumnsAndGroups) {
    WindowApp();
    QImage background(250, 300, QImage::Format_RGB32);
    background.fill(Qt::white);
    TopListEntries entries;
    for (int r = 0; r < 10; ++r) entries[r] = {"hrac", 1000 - 100 * r};
    entries[4].Name.clear();  // rank 5: no name, the score still shows
    entries[9].Points = -5;
    const QImage picture = DrawTopList(background, entries);
    ASSERT_EQ(picture.size(), QSize(250, 300));
    const int ys[10] = {112, 128, 144, 159, 175, 191, 207, 222, 238, 254};
    for (int r = 0; r < 10; ++r) {
        EXPECT_EQ(NavyIn(picture, 31, 150, ys[r]), r != 4) << "rank " << r + 1;
        EXPECT_TRUE(NavyIn(picture, 155, 250, ys[r])) << "rank " << r + 1;
    }
    EXPECT_FALSE(NavyIn(picture, 0, 31, 112));   // nothing left of the names
    EXPECT_FALSE(NavyIn(picture, 0, 250, 270));  // nothing under the last row

    // The window shown twice draws on a fresh copy of the background each time.
    TfrmTopList w(entries, [&] { return background; });
    w.FormShow();
    EXPECT_EQ(w.Picture(), picture);
    w.FormShow();
    EXPECT_EQ(w.Picture(), picture);
}

TEST(TopListWindow, ALongNameStopsBeforeTheScores) {
    WindowApp();
    TopListEntries entries = StandardTopList();
    entries[0] = {std::string(20, 'W'), 99};
    const QImage wide = DrawTopList(Background(), entries);
    entries[0].Name.clear();
    const QImage empty = DrawTopList(Background(), entries);
    // Rank 1's row: the name is there, and from a few pixels before the scores on the
    // picture is the same as with no name at all.
    bool nameDrawn = false;
    for (int y = 112; y < 128; ++y) {
        for (int x = 31; x < 100; ++x) nameDrawn |= wide.pixel(x, y) != empty.pixel(x, y);
        for (int x = 151; x < 250; ++x)
            ASSERT_EQ(wide.pixel(x, y), empty.pixel(x, y)) << x << "," << y;
    }
    EXPECT_TRUE(nameDrawn);
}

TEST(TopListWindow, TheXIsTransparentWithAWhiteFrameWhenHot) {
    WindowApp();
    const TopListEntries entries = StandardTopList();
    TfrmTopList w(entries, Background);
    w.FormShow();
    EXPECT_EQ(w.VrHotImage1->geometry(), QRect(224, 0, 21, 21));
    EXPECT_EQ(w.grab().toImage().pixelColor(225, 1), QColor(200, 220, 240));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(w.VrHotImage1, &enter);
    const QImage hot = w.grab().toImage();
    EXPECT_EQ(hot.pixelColor(225, 1), QColor(Qt::white));
    EXPECT_EQ(hot.pixelColor(226, 2), QColor(200, 220, 240));
}

}  // namespace
}  // namespace pabuko
