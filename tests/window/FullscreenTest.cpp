// The game on the whole screen (F11, "Celá obrazovka"), and the playfield's picture before
// the first frame. The headless screen is the 1100 × 1000 one of WindowScaleTest.cpp.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "main/MainWindow.h"

namespace pabuko {
namespace {

TEST(FullscreenScaleTest, IsTheLargestWholeFactorOfTheWindowThatFits) {
    struct Case {
        int width, height, scale;
    };
    for (const Case& c :
         {Case{1920, 1080, 3}, Case{1366, 768, 2}, Case{2560, 1440, 4}, Case{3840, 2160, 6},
          Case{1280, 1024, 3}, Case{1024, 768, 2}, Case{800, 659, 1}, Case{800, 660, 2},
          Case{799, 1000, 1}, Case{640, 480, 1}, Case{320, 200, 1}})
        EXPECT_EQ(FullscreenScale(c.width, c.height), c.scale) << c.width << " x " << c.height;
}

class FullscreenTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> w;

    std::string SettingsFile() const { return (dir.path() + "/pabuko.conf").toStdString(); }

    void Start(bool show = true) {
        ASSERT_TRUE(dir.isValid());
        MainWindowOptions o;
        o.ProgramFolder = dir.path().toStdString() + "/";  // no data: reported, not shown
        o.ShowAboutAtStart = false;
        o.SettingsFile = SettingsFile();
        o.ReportProblem = [](const std::string&) {};
        w = std::make_unique<TfrmMain>(o);
        if (!show) return;
        w->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return w->Started(); }, 5000));
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    QWidget* Draw() const { return w->findChild<QWidget*>(QStringLiteral("DXDraw")); }
    QWidget* Led() const { return w->findChild<QWidget*>(QStringLiteral("mtrxText")); }
    QAction* A(const char* name) const { return w->Action(QString::fromLatin1(name)); }

    // What a compositor gets from a window with an alpha channel (as on Wayland): every
    // pixel the widget leaves alone stays transparent.
    static QImage OnTransparentWindow(QWidget* widget) {
        QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget->render(&image);
        return image;
    }
    static int PixelsOtherThan(const QImage& image, QRgb colour) {
        int other = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) other += image.pixel(x, y) != colour;
        return other;
    }
};

TEST_F(FullscreenTest, ThePlayfieldIsOpaqueBlackBeforeTheFirstFrame) {
    Start(false);  // no surface yet
    EXPECT_EQ(PixelsOtherThan(OnTransparentWindow(Draw()), 0xFF000000u), 0);
    w->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return w->Started(); }, 5000));
    ASSERT_FALSE(w->DXDrawSurface().BackBuffer().IsEmpty());  // a surface, never drawn on
    EXPECT_EQ(PixelsOtherThan(OnTransparentWindow(Draw()), 0xFF000000u), 0);
    // Whatever the surface holds shows with its own colours, opaque.
    w->DXDrawSurface().BackBuffer().SetPixel(7, 5, 0x00123456u);
    EXPECT_EQ(OnTransparentWindow(Draw()).pixel(7, 5), 0xFF123456u);
}

TEST_F(FullscreenTest, F11EnlargesTheWholeWindowCentredAndEscReturnsToTheChosenSize) {
    Start();
    A("mVelikost2")->trigger();
    const QSize window = w->size();
    EXPECT_FALSE(A("mCelaObrazovka")->isChecked());
    EXPECT_EQ(A("mCelaObrazovka")->text(), QStringLiteral("Celá &obrazovka"));

    QTest::keyClick(w.get(), Qt::Key_F11);
    EXPECT_TRUE(w->Fullscreen());
    EXPECT_TRUE(A("mCelaObrazovka")->isChecked());
    ASSERT_TRUE(QTest::qWaitFor([this] { return w->size() == QSize(1100, 1000); }, 3000));
    EXPECT_FALSE(w->menuBar()->isVisible());
    // 1100 × 1000 takes the 400 × 330 window twice: 800 × 660 in the middle.
    EXPECT_EQ(Draw()->geometry(), QRect(150, 170, 800, 600));
    EXPECT_EQ(Led()->geometry(), QRect(150 + 18, 170 + 608, 764, 40));
    const QImage screen = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(screen.pixel(10, 10), 0xFF000000u);
    EXPECT_EQ(screen.pixel(1090, 990), 0xFF000000u);
    // Sharp pixels: one surface pixel is a 2 × 2 block.
    Surface& back = w->DXDrawSurface().BackBuffer();
    back.SetPixel(0, 0, 0xFFFFFFFFu);
    back.SetPixel(1, 0, 0xFF0000FFu);
    w->DXDrawSurface().Flip();
    const QImage shown = Draw()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 1)}) EXPECT_EQ(shown.pixel(p), 0xFFFFFFFFu);
    for (const QPoint p : {QPoint(2, 0), QPoint(3, 1)}) EXPECT_EQ(shown.pixel(p), 0xFF0000FFu);

    // The game's keys and dialogs work as in the window.
    QTest::keyClick(w.get(), Qt::Key_F);
    EXPECT_TRUE(A("mFPS")->isChecked());
    QDialog* dialog = nullptr;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog || !modal || !modal->isVisible()) return;
        dialog = modal;
        QTimer::singleShot(0, modal, &QDialog::reject);
    });
    poll.start(20);
    QTest::keyClick(w.get(), Qt::Key_T);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->parentWidget(), w.get());
    // The keyboard comes back to the game on the whole screen too.
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get(), 2000));
    EXPECT_EQ(QApplication::activeWindow(), w.get());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_FALSE(w->Fullscreen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->size() == window; }, 3000));
    EXPECT_TRUE(w->menuBar()->isVisible());
    EXPECT_EQ(w->WindowScale(), 2);
    EXPECT_EQ(Draw()->geometry(), QRect(0, 0, 800, 600));
    EXPECT_EQ(Led()->geometry(), QRect(209, 604, 382, 20));
    // Esc means nothing to the window itself.
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(w->size(), window);
}

TEST_F(FullscreenTest, IsRememberedBetweenRunsAndF11ThenLeavesIt) {
    Start();
    A("mCelaObrazovka")->trigger();
    ASSERT_TRUE(w->Fullscreen());
    w.reset();
    EXPECT_EQ(QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
                  .value("window/fullscreen")
                  .toBool(),
              true);

    Start();
    ASSERT_TRUE(QTest::qWaitFor([this] { return w->Fullscreen(); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return w->size() == QSize(1100, 1000); }, 3000));
    QTest::keyClick(w.get(), Qt::Key_F11);
    EXPECT_FALSE(w->Fullscreen());
    EXPECT_EQ(Draw()->geometry(), QRect(0, 0, 400, 300));
    w.reset();
    EXPECT_EQ(QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
                  .value("window/fullscreen")
                  .toBool(),
              false);
}

}  // namespace
}  // namespace pabuko
