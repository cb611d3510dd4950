#pragma once
// The few services of the window toolkit that the commands use, behind one interface so that
// every command can be driven headless by a scripted double. Texts are the system's code page
// 1251 strings; the Qt implementation converts them at this boundary. File names are in the
// file system's own encoding (UTF-8 bytes on Linux), ready for the text-file facility.

#include <optional>
#include <string>

struct FileDialogOptions {
    std::string Filter;            // "Формулы|*.frm" style: description|pattern (code page 1251)
    std::string DefaultExtension;  // added when the typed name has no extension
};

class Toolkit {
public:
    virtual ~Toolkit() = default;

    // The plain message box: the text, the application's title as caption, one OK button,
    // no icon, centred on the screen. Returns when the user has closed it.
    virtual void ShowMessage(const std::string& text) = 0;
    // The confirmation dialog with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The error box of the default error handling: error icon, one OK button.
    virtual void ShowError(const std::string& text) = 0;
    // The open and save file dialogs; empty when the user cancels.
    virtual std::optional<std::string> OpenFileName(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> SaveFileName(const FileDialogOptions& options) = 0;
    // Shows topic `context` of the named help file in the program's help window.
    virtual void ShowHelp(const std::string& helpFile, int context) = 0;
};
