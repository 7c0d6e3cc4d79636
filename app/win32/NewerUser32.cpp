#include "NewerUser32.h"

namespace varkelo {

FARPROC FindNewerUser32(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
}

} // namespace varkelo
