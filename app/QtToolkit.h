#pragma once
// The toolkit over Qt Widgets: message boxes, the confirmation dialog, the error box, the file
// dialogs and the program's help window.

#include "Toolkit.h"

#include <QString>

#include <memory>
#include <string>

class HelpWindow;

// Windows marked with this property count as windows of another program for the calculator
// window's activation rule: focus coming back from them does not run FormActivate (the error
// box, the file dialogs and the help window).
inline constexpr char kForeignWindowProperty[] = "zorvoForeignWindow";

// "Формулы|*.frm" (description|pattern pairs, patterns separated by ";") as a Qt name filter
// "Формулы (*.frm)"; pairs are joined by ";;".
QString QtNameFilter(const std::string& filter);
// The extension to add to a typed name without one: "frm" from "frm", ".frm" or "*.frm".
QString QtDefaultSuffix(const std::string& defaultExtension);

class QtToolkit : public Toolkit {
public:
    QtToolkit();
    ~QtToolkit() override;

    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileName(const FileDialogOptions& options) override;
    void ShowHelp(const std::string& helpFile, int context) override;

    // The help window, created on first use; for tests and for windows that embed it.
    HelpWindow& Help();

private:
    std::unique_ptr<HelpWindow> m_help;
};
