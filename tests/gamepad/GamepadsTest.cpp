// Pads through SDL's virtual joysticks: the default assignments, plugging in and out, and
// the input component heeding a pad only while its window is active.
#include <SDL.h>
#include <gtest/gtest.h>

#include "display/KeyboardStates.h"
#include "platform/Gamepads.h"

namespace pabuko {
namespace {

class GamepadsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pads.Available()) GTEST_SKIP() << "no joystick support in SDL here";
    }
    void TearDown() override {
        for (int i = SDL_NumJoysticks() - 1; i >= 0; --i)
            if (SDL_JoystickIsVirtual(i)) SDL_JoystickDetachVirtual(i);
    }
    // The device index of a new virtual pad.
    int Attach(SDL_JoystickType type, int axes, int buttons, int hats) {
        const int index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        EXPECT_GE(index, 0) << SDL_GetError();
        return index;
    }
    // The open joystick of a device, for setting its controls.
    SDL_Joystick* Joystick(int index) {
        return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    }
    Gamepads pads;
};

std::vector<int> Held(const InputStateSet& s) {
    std::vector<int> held;
    for (int n = 0; n < kInputStateCount; ++n)
        if (s.Has(n)) held.push_back(n);
    return held;
}

// Up, Down, Left, Right only: a virtual pad's D-pad is also four of its buttons.
std::vector<int> Directions(const InputStateSet& s) {
    std::vector<int> held = Held(s);
    std::erase_if(held, [](int n) { return n > isRight; });
    return held;
}

TEST_F(GamepadsTest, ControllerStickDpadAndButtons) {
    const int index = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                             SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_TRUE(SDL_IsGameController(index));
    EXPECT_TRUE(Held(pads.Poll()).empty());
    ASSERT_EQ(pads.Count(), 1);
    SDL_Joystick* j = Joystick(index);
    ASSERT_NE(j, nullptr);

    // The stick steers once pushed half way, not when barely touched.
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, -10000);
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTY, 10000);
    EXPECT_TRUE(Held(pads.Poll()).empty());
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, -30000);
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(Held(pads.Poll()), (std::vector<int>{isDown, isLeft}));
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, 32767);
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(Held(pads.Poll()), (std::vector<int>{isRight}));
    SDL_JoystickSetVirtualAxis(j, SDL_CONTROLLER_AXIS_LEFTX, 0);

    // The D-pad steers; the lower face button (A, joystick button 1) drops fast and is
    // Button1 as well; every other button is its own ButtonN.
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_START, 1);
    const int start = isButton1 + int{SDL_CONTROLLER_BUTTON_START};
    const int dpadLeft = isButton1 + int{SDL_CONTROLLER_BUTTON_DPAD_LEFT};
    EXPECT_EQ(Held(pads.Poll()), (std::vector<int>{isDown, isLeft, isButton1, start, dpadLeft}));
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_START, 0);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    EXPECT_EQ(Directions(pads.Poll()), (std::vector<int>{isRight}));
}

TEST_F(GamepadsTest, PlainJoystickAxesHatAndThirtyTwoButtons) {
    const int index = Attach(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 2, 40, 1);
    pads.Poll();
    ASSERT_FALSE(SDL_IsGameController(index));
    SDL_Joystick* j = Joystick(index);
    ASSERT_NE(j, nullptr);
    SDL_JoystickSetVirtualAxis(j, 1, -32768);
    SDL_JoystickSetVirtualHat(j, 0, SDL_HAT_RIGHTDOWN);
    SDL_JoystickSetVirtualButton(j, 31, 1);
    SDL_JoystickSetVirtualButton(j, 32, 1);  // beyond Button32: nothing
    EXPECT_EQ(Held(pads.Poll()), (std::vector<int>{isUp, isDown, isRight, isButton1 + 31}));
}

TEST_F(GamepadsTest, PadsPluggedInAndOutWhileRunning) {
    EXPECT_EQ(pads.Count(), 0);
    const int index = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                             SDL_CONTROLLER_BUTTON_MAX, 0);
    pads.Poll();
    ASSERT_EQ(pads.Count(), 1);
    SDL_JoystickSetVirtualButton(Joystick(index), SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1);
    EXPECT_EQ(Directions(pads.Poll()), (std::vector<int>{isDown}));

    // Pulled out with the button held: nothing stays held, nothing dangles.
    SDL_JoystickDetachVirtual(index);
    EXPECT_TRUE(Held(pads.Poll()).empty());
    EXPECT_EQ(pads.Count(), 0);

    const int again = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                             SDL_CONTROLLER_BUTTON_MAX, 0);
    pads.Poll();
    EXPECT_EQ(pads.Count(), 1);
    SDL_JoystickSetVirtualButton(Joystick(again), SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    EXPECT_EQ(Directions(pads.Poll()), (std::vector<int>{isUp}));
}

TEST_F(GamepadsTest, InputComponentHeedsThePadOnlyWhileActive) {
    const int index = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                             SDL_CONTROLLER_BUTTON_MAX, 0);
    TDXInput input;
    bool active = false;
    input.IsForeground = [&] { return active; };
    input.PollJoystick = [this] { return pads.Poll(); };
    input.Update();
    SDL_JoystickSetVirtualButton(Joystick(index), SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 1);
    input.Update();
    EXPECT_FALSE(input.States().Has(isRight));
    active = true;
    input.Update();
    EXPECT_TRUE(input.States().Has(isRight));
    // Keyboard and pad together: Right stays while either holds it.
    input.SetKey(39, true);
    SDL_JoystickSetVirtualButton(Joystick(index), SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0);
    input.Update();
    EXPECT_TRUE(input.States().Has(isRight));
    input.SetKey(39, false);
    input.Update();
    EXPECT_FALSE(input.States().Has(isRight));
}

}  // namespace
}  // namespace pabuko
