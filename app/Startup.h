#pragma once

namespace varkelo {

// Brings up the windows, runs the event loop until the program is told to end and shows any
// error that escapes all of that. Returns 0 in every case.
int RunProgram() noexcept;

} // namespace varkelo
