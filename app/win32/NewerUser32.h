#pragma once

// The functions of user32 that only newer Windows has, found at run time: the program starts on
// Windows 7, and where they are missing it scales by the system's DPI.

#include <windows.h>

namespace varkelo {

// The function of that name, or null where this Windows has none.
FARPROC FindNewerUser32(const char* name);

template <class Function> Function NewerUser32(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(FindNewerUser32(name)));
}

} // namespace varkelo
