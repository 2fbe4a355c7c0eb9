// The larger window: whole factors from the Možnosti menu, sharp pixels, remembered between
// runs, and 1× exactly as the window has always been.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include "main/MainWindow.h"

namespace pabuko {
namespace {

// A headless screen of 1100 × 1000: room for 2×, not for 3× (1200 wide).
struct QtEnvironment : ::testing::Environment {
    void SetUp() override {
        ASSERT_TRUE(screens.open());
        screens.write(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": 1100,
                          "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        screens.flush();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
        static int argc = 1;
        static char name[] = "window_scale_test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    void TearDown() override { delete app; }
    QTemporaryFile screens;
    QApplication* app = nullptr;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class WindowScaleTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> w;
    QStringList problems;

    std::string SettingsFile() const { return (dir.path() + "/pabuko.conf").toStdString(); }

    void Start() {
        ASSERT_TRUE(dir.isValid());
        MainWindowOptions o;
        o.ProgramFolder = dir.path().toStdString() + "/";  // no data: reported, not shown
        o.ShowAboutAtStart = false;
        o.SettingsFile = SettingsFile();
        o.ReportProblem = [this](const std::string& text) {
            problems << QString::fromStdString(text);
        };
        w = std::make_unique<TfrmMain>(o);
        w->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return w->Started(); }, 5000));
    }
    QWidget* Draw() const { return w->findChild<QWidget*>(QStringLiteral("DXDraw")); }
    QAction* A(const char* name) const { return w->Action(QString::fromLatin1(name)); }
    void OpenSizeMenu() {
        auto* menu = w->findChild<QMenu*>(QStringLiteral("mVelikost"));
        ASSERT_NE(menu, nullptr);
        emit menu->aboutToShow();
    }
};

TEST_F(WindowScaleTest, TwiceAsLargeWithSharpPixelsAndBackToTheSameWindow) {
    Start();
    const QSize at1 = w->size();
    EXPECT_EQ(Draw()->geometry(), QRect(0, 0, 400, 300));
    auto* led = w->findChild<QWidget*>(QStringLiteral("mtrxText"));
    ASSERT_NE(led, nullptr);
    const QRect ledAt1 = led->geometry();
    EXPECT_EQ(A("mVelikost1")->isChecked(), true);

    // 2× fits the screen, 3× does not.
    OpenSizeMenu();
    EXPECT_TRUE(A("mVelikost2")->isEnabled());
    EXPECT_FALSE(A("mVelikost3")->isEnabled());
    A("mVelikost2")->trigger();
    EXPECT_TRUE(A("mVelikost2")->isChecked());
    EXPECT_EQ(Draw()->size(), QSize(800, 600));
    EXPECT_EQ(w->centralWidget()->size(), QSize(800, 630));
    EXPECT_EQ(w->size(), at1 + QSize(400, 300));
    EXPECT_EQ(led->size(), ledAt1.size());
    // Under the playfield, as far off its middle as at 1×.
    EXPECT_EQ(led->pos(), ledAt1.topLeft() + QPoint(200, 300));

    // A checkerboard of distinct colours: any smoothing would blend neighbours.
    Surface& back = w->DXDrawSurface().BackBuffer();
    ASSERT_EQ(back.Width(), 400);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            back.SetPixel(x, y, (x + y) % 2 ? 0xFF000000u | uint32_t(x * 641 + y) : 0xFFFFFFFFu);
    w->DXDrawSurface().Flip();
    const QImage shown = Draw()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(800, 600));
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) wrong += shown.pixel(x, y) != back.Pixel(x / 2, y / 2);
    EXPECT_EQ(wrong, 0);

    A("mVelikost1")->trigger();
    EXPECT_EQ(w->size(), at1);
    EXPECT_EQ(Draw()->size(), QSize(400, 300));
    EXPECT_EQ(led->geometry(), ledAt1);
}

TEST_F(WindowScaleTest, GrowingNearTheScreensEdgeBringsTheWindowBackOntoIt) {
    Start();
    const QRect area = w->screen()->availableGeometry();
    w->move(area.right() - w->frameGeometry().width(), area.bottom() - w->frameGeometry().height());
    A("mVelikost2")->trigger();
    EXPECT_TRUE(area.contains(w->frameGeometry()))
        << w->frameGeometry().x() << ',' << w->frameGeometry().y();
    // Where it fits, it stays where it was.
    A("mVelikost1")->trigger();
    w->move(area.topLeft() + QPoint(10, 10));
    A("mVelikost2")->trigger();
    EXPECT_EQ(w->frameGeometry().topLeft(), area.topLeft() + QPoint(10, 10));
}

TEST_F(WindowScaleTest, TheChosenSizeIsRememberedAndLimitedByTheScreen) {
    Start();
    A("mVelikost2")->trigger();
    w.reset();
    EXPECT_EQ(QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
                  .value("window/scale")
                  .toInt(),
              2);
    Start();
    EXPECT_EQ(w->WindowScale(), 2);
    EXPECT_EQ(Draw()->size(), QSize(800, 600));
    EXPECT_TRUE(A("mVelikost2")->isChecked());
    w.reset();

    // Remembered from a larger screen: the largest that fits this one.
    QSettings(QString::fromStdString(SettingsFile()), QSettings::IniFormat)
        .setValue("window/scale", 3);
    Start();
    EXPECT_EQ(w->WindowScale(), 2);
}

}  // namespace
}  // namespace pabuko
