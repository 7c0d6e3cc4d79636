#pragma once

// For tests of the Win32 backend itself: find the program's windows and controls.

#include "FormLayout.h"

#include <windows.h>

#include <string_view>

namespace uitest {

HWND FindForm(std::string_view caption); // a visible one
HWND FindControl(HWND form, std::string_view name);
// A control's description, which the backend keeps with it.
const varkelo::TControlDesc* ControlOf(HWND control);

} // namespace uitest
