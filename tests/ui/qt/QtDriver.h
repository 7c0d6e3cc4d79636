#pragma once

// For tests of the Qt backend itself: run a step on the program's thread and wait for it.

#include <functional>

namespace uitest {

// False when the program ended before the step could run.
bool OnGui(const std::function<void()>& step);

} // namespace uitest
