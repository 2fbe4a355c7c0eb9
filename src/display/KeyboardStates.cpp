#include "display/KeyboardStates.h"

namespace pabuko {

KeyAssigns DefaultKeyAssigns() {
    KeyAssigns a{};
    auto set = [&a](int state, int32_t k0, int32_t k1, int32_t k2) {
        a[3 * state] = k0;
        a[3 * state + 1] = k1;
        a[3 * state + 2] = k2;
    };
    set(isUp, 75, 38, 104);     // K, Up, Numpad 8
    set(isDown, 74, 40, 98);    // J, Down, Numpad 2
    set(isLeft, 72, 37, 100);   // H, Left, Numpad 4
    set(isRight, 76, 39, 102);  // L, Right, Numpad 6
    set(isButton1, 90, 32, 0);  // Z, Space
    set(isButton2, 88, 13, 0);  // X, Enter
    set(isButton9, 113, 0, 0);  // F2
    return a;
}

TDXInput::TDXInput() : Assigns(DefaultKeyAssigns()) {}

void TDXInput::SetKey(int virtualKey, bool held) {
    if (virtualKey < 1 || virtualKey > 255) return;
    keys_[virtualKey] = held ? 0x80 : 0;
}

void TDXInput::ReleaseAllKeys() {
    keys_.fill(0);
}

bool TDXInput::KeyHeld(int virtualKey) const {
    return virtualKey >= 1 && virtualKey <= 255 && (keys_[virtualKey] & 0x80);
}

bool TDXInput::Active() const {
    return !ActiveOnly || (IsForeground && IsForeground());
}

InputStateSet TDXInput::PollKeyboard() const {
    InputStateSet held;
    if (!Active()) return held;
    for (int n = 0; n < kInputStateCount; ++n)
        for (int slot = 0; slot < 3; ++slot)
            if (KeyHeld(Assigns[3 * n + slot])) {
                held.Add(n);
                break;
            }
    return held;
}

void TDXInput::Update() {
    InputStateSet combined;
    if (PollJoystick) {
        const InputStateSet joystick = PollJoystick();
        if (Active()) combined |= joystick;
    }
    combined |= PollKeyboard();
    for (int n = 0; n < kInputStateCount; ++n) {
        if (combined.Has(n) && !previous_.Has(n)) states_.Add(n);
        if (!combined.Has(n) && previous_.Has(n)) states_.Remove(n);
    }
    previous_ = combined;
}

}  // namespace pabuko
