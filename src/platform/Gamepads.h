#pragma once
// The joystick device of the input component: every game controller and joystick SDL
// knows, read together. Pads plugged in or out while the game runs are found at the
// next poll.
#include <vector>

#include "platform/InputStateSet.h"

struct _SDL_GameController;
struct _SDL_Joystick;

namespace pabuko {

struct SdlLibrary;

class Gamepads {
  public:
    Gamepads();
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // False when SDL has no joystick support here; Poll then always gives no states.
    bool Available() const { return initialised_; }
    // The states held on all pads now: the stick and the D-pad (or hat) give Up, Down,
    // Left and Right, joystick buttons 1–32 give Button1–Button32, and a game controller's
    // lower face button gives Down, so that it drops the tile fast.
    InputStateSet Poll();
    int Count() const { return static_cast<int>(pads_.size()); }

  private:
    struct Pad {
        _SDL_GameController* controller = nullptr;  // none for a plain joystick
        _SDL_Joystick* joystick = nullptr;
        int id = -1;
    };
    void FindPads();

    const SdlLibrary* sdl_;
    std::vector<Pad> pads_;
    bool initialised_ = false;
};

}  // namespace pabuko
