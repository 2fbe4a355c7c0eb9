#pragma once
// The 36 logical input states of the input component, as a set: what the keyboard and the
// joystick hold, and the edges taken from them.
#include <array>
#include <cstdint>

namespace pabuko {

// Bit positions in a state set: Up, Down, Left, Right, then Button1 … Button32.
enum InputState : int {
    isUp = 0,
    isDown = 1,
    isLeft = 2,
    isRight = 3,
    isButton1 = 4,
    isButton2 = 5,
    isButton9 = 12,
};
constexpr int kInputStateCount = 36;

// State n is bit (n mod 8) of byte (n div 8).
class InputStateSet {
  public:
    bool Has(int state) const;
    void Add(int state);
    void Remove(int state);
    InputStateSet& operator|=(const InputStateSet& other);
    bool operator==(const InputStateSet&) const = default;
    const std::array<uint8_t, 5>& Bytes() const { return bytes_; }

  private:
    std::array<uint8_t, 5> bytes_{};
};

}  // namespace pabuko
