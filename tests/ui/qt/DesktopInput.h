#pragma once

// Input as a desktop delivers it, for the window tests under a window manager or a compositor,
// chosen by VARKELO_TEST_INPUT:
// - x11: keys from the X server's test keyboard (XTest), so that they carry the server's time
//   as a user's do and a window manager weighs the program's requests by them; windows are
//   focused and closed by asking the window manager, as a taskbar or a frame's button does;
// - sway: keys from wtype's virtual keyboard, to whichever window the compositor has
//   focused; swaymsg focuses and closes windows.
// Unset, the driver synthesizes input inside Qt. Each call returns once the input is sent;
// a failure is reported to the test.

#include "../Driver.h"

#include <cstdint>
#include <string_view>

namespace uitest::desktop {

bool Chosen();
// Each returns how many keys it pressed and released, modifiers included.
int Press(TKey key);
int Type(char32_t character);
// Whether a window manager frames the windows of the X display (_NET_SUPPORTING_WM_CHECK).
bool WindowManager();
// Returns once the window manager has handled all that was sent to it so far, the program's
// requests to activate its windows among them (X11; elsewhere the display server is the
// compositor, which Qt's own round trip reaches).
void SyncWindowManager();
// The window that keys go to (X11: the input focus); 0 where unknown.
std::uint64_t FocusWindow();
// The window by its caption, or on X11 by its id.
void Activate(std::string_view caption, std::uint64_t window);
// The active window, on X11 by its id.
void Close(std::uint64_t window);

} // namespace uitest::desktop
