// Start-up of the calculator: the runtime's settings, the application object, the windows in
// their order, then the event loop until the calculator window closes.

#include "Program.h"

#include "AppTitle.h"
#include "Chart1.h"
#include "Epsa.h"
#include "ErrorGuard.h"
#include "FloatErrors.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "QtToolkit.h"
#include "Startup.h"
#include "Unit1.h"
#include "zorvo3.h"

void LoadFormulaFileArgument(TForm1& calculator, int argc, char** argv) {
    if (argc > 1 && argv[1] != nullptr) {
        // The name as the file system spells it, as the file dialogs give it.
        calculator.OpenFormulaFile(argv[1]);
    }
}

int RunProgram(int argc, char** argv, const StartupHook& beforeShow) {
    // 1. The runtime: regional number settings, a clean floating-point state.
    ReloadRegionalSettings();
    ClearFloatErrors();

    // 2. The application object and what belongs to it. Qt takes its own options out of
    //    argc and argv here, so that only the program's argument is left.
    ZorvoApplication app(argc, argv);
    RegisterFontSubstitutions();
    InstallRussianTranslations(app);
    SetApplicationIcon();
    SetApplicationTitle(ApplicationTitleFromPath(QCoreApplication::applicationFilePath()));
    QtToolkit toolkit;
    SetDefaultToolkit(&toolkit);
    SetEngineMessageHook([&toolkit](const std::string& text) { toolkit.ShowMessage(text); });

    // 3. No application-wide help file: help always uses the active window's own file
    //    (TForm1::HelpFile).

    // 4. The windows, in their order; the first is the main window.
    TForm1 Form1(toolkit);
    GraphHostAdapter graphHost(Form1, toolkit);
    TGraf Graf(graphHost);
    TForm2 Form2(toolkit);
    graphHost.SetToleranceDialog(&Form2);
    Form1.SetShowGraphWindow([&Graf] { Graf.ShowModal(); });

    // The file that the desktop opens with the program, before the window is shown, so that
    // the window appears with it (or, when it cannot be read, after the error box, empty).
    LoadFormulaFileArgument(Form1, argc, argv);
    if (beforeShow) {
        beforeShow(Form1);
    }

    // 5. Only the calculator window is shown; closing it ends the program.
    QObject::connect(&Form1, &TForm1::closed, &app, &QCoreApplication::quit);
    Form1.show();
    Form1.activateWindow();
    const int result = app.exec();
    SetEngineMessageHook({});
    SetDefaultToolkit(nullptr);
    return result;
}
