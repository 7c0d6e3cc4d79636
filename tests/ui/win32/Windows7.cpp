// The program as on Windows 7 to 8.1: none of the newer DPI functions is there.
#include "NewerUser32.h"

FARPROC varkelo::FindNewerUser32(const char*) {
    return nullptr;
}
