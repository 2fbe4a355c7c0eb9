// A pad steers the falling tile in the running game.
#include <SDL.h>
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <filesystem>

#include "main/MainWindow.h"

namespace pabuko {
namespace {

TEST(GamepadInGame, DpadRightMovesTheFallingTile) {
    // The shipped data the build made, in a folder of our own so no top list is touched.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::filesystem::path data =
        std::filesystem::path(qgetenv("PABUKO_BUILD_DIR").data()) / "data";
    std::filesystem::copy(data, dir.path().toStdString() + "/data",
                          std::filesystem::copy_options::recursive);
    MainWindowOptions o;
    o.ProgramFolder = dir.path().toStdString() + "/";
    o.ShowAboutAtStart = false;
    TfrmMain w(o);
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index < 0) GTEST_SKIP() << "no virtual joysticks: " << SDL_GetError();
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Started(); }, 5000));
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));

    QTest::keyClick(&w, Qt::Key_F2);
    ASSERT_EQ(w.State().Level, 1);
    w.Timer().SetEnabled(false);  // the ticks below are the only ones
    GameState& s = w.State();
    s.BaseDelay = s.FallDelay = 60000;
    s.LastStepTime = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    s.Falling = {1, 10, 8};

    w.DXTimerTimer(0);
    w.DXTimerTimer(0);  // the main window has opened the pad by now
    SDL_Joystick* pad = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(pad, nullptr);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    w.DXTimerTimer(0);
    w.DXTimerTimer(0);
    EXPECT_EQ(s.Falling.Column, 11);
    SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    SDL_JoystickDetachVirtual(index);
}

}  // namespace
}  // namespace pabuko
