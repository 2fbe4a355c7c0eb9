// The top list picture (the QApplication comes from MainWindowTest.cpp).
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "main/StandInDialogs.h"

namespace pabuko {
namespace {

// Whether any navy pixel lies in the band of text rows [y, y + 11) between x0 and x1.
bool NavyIn(const QImage& picture, int x0, int x1, int y) {
    for (int yy = y; yy < y + 11; ++yy)
        for (int x = x0; x < x1; ++x) {
            const QColor c = picture.pixelColor(x, yy);
            if (c.red() < 90 && c.green() < 90 && c.blue() > 90) return true;
        }
    return false;
}

TEST(TopListPicture, NamesAndScoresInTheirColumnsAndGroups) {
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
    // Drawing again starts from the clean background.
    EXPECT_EQ(DrawTopList(background, entries), picture);
}

}  // namespace
}  // namespace pabuko
