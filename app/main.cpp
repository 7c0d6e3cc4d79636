#include "Startup.h"

// The command line is not read.
int main() {
    return varkelo::RunProgram();
}
