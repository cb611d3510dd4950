#pragma once
// What start-up sets up once for the whole process, before the windows are created.

#include <QApplication>

// "Arial" → "Liberation Sans" (the same metrics); "MS Sans Serif" → "Liberation Sans Narrow",
// in which every caption of the windows fits its control at the designed size. Registers
// them only on the first call.
void RegisterFontSubstitutions();

// Qt's own texts (the Yes/No/OK buttons, the file dialogs) in Russian, like the program's.
void InstallRussianTranslations(QCoreApplication& app);

// The program's icon on every window, drawn at each screen's resolution from its scalable
// drawing, with the theme's sizes built into the program (":/icons/") taken as they are;
// returns false when the program carries neither.
bool SetApplicationIcon();

// The application object: events go through the default error handling, so no exception
// can escape into the event loop even from a handler that forgot its guard.
class ZorvoApplication : public QApplication {
public:
    ZorvoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
