#pragma once
// The program from start to end. main() is one call of RunProgram; the start-up probe of the
// benchmarks calls it too, with a hook of its own.

#include <functional>

class QWidget;
class TForm1;

// Called once the windows exist and the formula file named on the command line is loaded,
// just before the calculator window is shown.
using StartupHook = std::function<void(QWidget& calculatorWindow)>;

// Start-up in its order, the formula file of the command line, then the event loop until the
// calculator window closes. Returns the process's exit code.
int RunProgram(int argc, char** argv, const StartupHook& beforeShow = {});

// The first argument that Qt's own options left (argv[1]), if there is one, names a formula
// file: it is loaded into the calculator window as "Прочесть из файла" loads the file chosen in
// its dialog; a failure shows the error box and leaves the memos as they were. Any further
// argument is ignored.
void LoadFormulaFileArgument(TForm1& calculator, int argc, char** argv);
