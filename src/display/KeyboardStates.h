#pragma once
// TDXInput: 36 logical input states made from held keys and a joystick, changed only at
// edges. The key table is indexed by Windows virtual-key codes; the window layer fills it
// from key press and release events.
#include <array>
#include <cstdint>
#include <functional>

#include "platform/InputStateSet.h"

namespace pabuko {

// Up to three virtual-key codes per state, state-major (entry 3 × state + slot).
using KeyAssigns = std::array<int32_t, kInputStateCount * 3>;
KeyAssigns DefaultKeyAssigns();

class TDXInput {
  public:
    TDXInput();

    bool ActiveOnly = true;
    KeyAssigns Assigns;
    // Whether the owning window is the foreground window; the window layer sets it.
    std::function<bool()> IsForeground;
    // The joystick device: the states its controls hold now. Polled on every Update, also
    // while the window is inactive (so pads plugged in meanwhile are found), but heeded
    // only when the keyboard is.
    std::function<InputStateSet()> PollJoystick;

    // Polls the keyboard and takes the edges into States.
    void Update();
    const InputStateSet& States() const { return states_; }

    // The held-key table, bit 7 = held. Written by the window layer's key events.
    void SetKey(int virtualKey, bool held);
    void ReleaseAllKeys();
    bool KeyHeld(int virtualKey) const;

  private:
    bool Active() const;
    InputStateSet PollKeyboard() const;

    std::array<uint8_t, 256> keys_{};
    InputStateSet states_;
    InputStateSet previous_;
};

}  // namespace pabuko
