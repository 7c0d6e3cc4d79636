#pragma once

// For tests of the Win32 backend itself: run a step on the program's thread, and find its
// windows and controls.

#include "FormLayout.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace uitest {

// False when the program ended before the step could run.
bool OnGui(const std::function<void()>& step);
HWND FindForm(std::string_view caption);
HWND FindControl(HWND form, std::string_view name);
// A control's description, which the backend keeps with it.
const varkelo::TControlDesc* ControlOf(HWND control);
std::string Caption(HWND window);

} // namespace uitest
