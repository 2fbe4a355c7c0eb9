#include "platform/Gamepads.h"

#include <algorithm>

#include "platform/SdlLibrary.h"

namespace pabuko {

namespace {

// Half way out: a stick resting a little off centre or brushed sideways does not steer.
constexpr int kStickThreshold = 16384;

void AddStick(InputStateSet& held, int x, int y) {
    if (x <= -kStickThreshold) held.Add(isLeft);
    if (x >= kStickThreshold) held.Add(isRight);
    if (y <= -kStickThreshold) held.Add(isUp);
    if (y >= kStickThreshold) held.Add(isDown);
}

}  // namespace

Gamepads::Gamepads() : sdl_(Sdl()) {
    if (!sdl_) return;
    sdl_->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The lower face button by its place, whatever its label says on the pad.
    sdl_->SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    initialised_ = sdl_->SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!initialised_) return;
    // We read the pads' states ourselves; queued events would pile up unread.
    sdl_->SDL_JoystickEventState(SDL_IGNORE);
    sdl_->SDL_GameControllerEventState(SDL_IGNORE);
    FindPads();
}

Gamepads::~Gamepads() {
    for (Pad& pad : pads_) {
        if (pad.controller) {
            sdl_->SDL_GameControllerClose(pad.controller);
        } else {
            sdl_->SDL_JoystickClose(pad.joystick);
        }
    }
    if (initialised_) sdl_->SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::FindPads() {
    std::erase_if(pads_, [this](Pad& pad) {
        if (sdl_->SDL_JoystickGetAttached(pad.joystick)) return false;
        if (pad.controller) {
            sdl_->SDL_GameControllerClose(pad.controller);
        } else {
            sdl_->SDL_JoystickClose(pad.joystick);
        }
        return true;
    });
    const int count = sdl_->SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const int id = sdl_->SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0 ||
            std::any_of(pads_.begin(), pads_.end(), [id](const Pad& pad) { return pad.id == id; }))
            continue;
        Pad pad;
        pad.id = id;
        if (sdl_->SDL_IsGameController(i)) {
            pad.controller = sdl_->SDL_GameControllerOpen(i);
            if (pad.controller) pad.joystick = sdl_->SDL_GameControllerGetJoystick(pad.controller);
        } else {
            pad.joystick = sdl_->SDL_JoystickOpen(i);
        }
        if (pad.joystick) pads_.push_back(pad);
    }
}

InputStateSet Gamepads::Poll() {
    InputStateSet held;
    if (!initialised_) return held;
    // Reads the pads and notices pads plugged in or out.
    sdl_->SDL_JoystickUpdate();
    FindPads();
    for (const Pad& pad : pads_) {
        SDL_Joystick* j = pad.joystick;
        if (SDL_GameController* c = pad.controller) {
            AddStick(held, sdl_->SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX),
                     sdl_->SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY));
            if (sdl_->SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) held.Add(isUp);
            if (sdl_->SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN))
                held.Add(isDown);
            if (sdl_->SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT))
                held.Add(isLeft);
            if (sdl_->SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT))
                held.Add(isRight);
            if (sdl_->SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_A)) held.Add(isDown);
        } else {
            if (sdl_->SDL_JoystickNumAxes(j) >= 2)
                AddStick(held, sdl_->SDL_JoystickGetAxis(j, 0), sdl_->SDL_JoystickGetAxis(j, 1));
            if (sdl_->SDL_JoystickNumHats(j) >= 1) {
                const Uint8 hat = sdl_->SDL_JoystickGetHat(j, 0);
                if (hat & SDL_HAT_UP) held.Add(isUp);
                if (hat & SDL_HAT_DOWN) held.Add(isDown);
                if (hat & SDL_HAT_LEFT) held.Add(isLeft);
                if (hat & SDL_HAT_RIGHT) held.Add(isRight);
            }
        }
        const int buttons = std::min(sdl_->SDL_JoystickNumButtons(j), 32);
        for (int b = 0; b < buttons; ++b)
            if (sdl_->SDL_JoystickGetButton(j, b)) held.Add(isButton1 + b);
    }
    return held;
}

}  // namespace pabuko
