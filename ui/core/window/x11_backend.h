// The window system on an X server (Xlib). Only the thread that opened the display touches
// it: windows are made, shown, presented and served there.
#pragma once

#include <memory>
#include <string>

#include "ui/core/window/backend.h"

namespace lw::ws {

// Opens the display named by $DISPLAY and installs the X11 backend for the calling thread.
// False, with `error` set, when no display can be opened or a backend is installed already.
bool UseX11WindowSystem(std::string* error = nullptr);

// X key symbols to the window system's virtual-key codes (0 for keys it has no code for).
int VirtualKeyFromKeysym(unsigned long keysym);

}  // namespace lw::ws
