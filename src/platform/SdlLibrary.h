#pragma once
// SDL, opened when the sound device or the gamepads first need it. Its header gives the
// types and constants; the functions come from the table.
#include <SDL.h>

#include "platform/SharedLibrary.h"

// clang-format off
#define PABUKO_SDL_FUNCTIONS(X) \
    X(SDL_Init) X(SDL_InitSubSystem) X(SDL_QuitSubSystem) X(SDL_WasInit) \
    X(SDL_Quit) X(SDL_SetHint) X(SDL_OpenAudioDevice) X(SDL_CloseAudioDevice) \
    X(SDL_PauseAudioDevice) X(SDL_GetCurrentAudioDriver) X(SDL_NumJoysticks) \
    X(SDL_JoystickUpdate) X(SDL_JoystickOpen) \
    X(SDL_JoystickClose) X(SDL_JoystickGetAttached) X(SDL_JoystickGetDeviceInstanceID) X(SDL_JoystickEventState) \
    X(SDL_JoystickNumAxes) X(SDL_JoystickNumHats) X(SDL_JoystickNumButtons) X(SDL_JoystickGetAxis) \
    X(SDL_JoystickGetHat) X(SDL_JoystickGetButton) X(SDL_IsGameController) X(SDL_GameControllerOpen) \
    X(SDL_GameControllerClose) X(SDL_GameControllerGetJoystick) X(SDL_GameControllerEventState) X(SDL_GameControllerGetAxis) \
    X(SDL_GameControllerGetButton)
// clang-format on

namespace pabuko {

struct SdlLibrary {
    PABUKO_SDL_FUNCTIONS(PABUKO_LIBRARY_POINTER)
};

// Opens SDL on the first call; null when it is not installed (no sound, no gamepads).
const SdlLibrary* Sdl();

// SDL_Quit, if SDL was ever opened.
void QuitSdl();

}  // namespace pabuko
