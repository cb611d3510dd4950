// The calculator program. Usage: Zorvo_3 [formula file]
#include "Program.h"

int main(int argc, char** argv) {
    return RunProgram(argc, argv);
}
