// For the window tests: where the running program keeps its trip record.
#include "Fishingunit.h"

#include <emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE const varkelo::TTripData* varkelo_record() {
    return Form1 != nullptr ? &Form1->TripData() : nullptr;
}
