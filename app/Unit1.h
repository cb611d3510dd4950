#pragma once
// The calculator window, the application's main window: the formula and comment memos, x,
// the fraction digits, the exponential switch, the result field, its buttons and main menu.

#include "Toolkit.h"

#include <QMainWindow>

class QAction;
class QMenu;

#include <functional>
#include <memory>
#include <string>

namespace Ui {
class TForm1;
}

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Toolkit& toolkit, QWidget* parent = nullptr);
    ~TForm1() override;

    // The calculation command on this window's fields; also run by the graph window.
    void Calculate();
    // What N5Click runs to show the graph window modally (set at start-up).
    void SetShowGraphWindow(std::function<void()> show) { m_showGraphWindow = std::move(show); }
    Toolkit& toolkit() const { return m_toolkit; }
    // Loads a formula file as "Прочесть из файла" does with the name chosen in its dialog; a
    // failure is shown by the default error handling and leaves the memos as they were.
    void OpenFormulaFile(const std::string& fileName);

    // Handlers; the window runs each as a command of the application (CommandGate: refused
    // while another command runs) through the default error handling.
    void FormActivate();
    void BitBtn1Click();
    void BitBtn3Click();
    void N2Click();
    void N3Click();
    void N4Click();
    void N5Click();
    void N7Click();

    // The file dialogs' settings.
    FileDialogOptions OpenDialog1;
    FileDialogOptions SaveDialog1;
    // The result field's context menu: the selected text, and the number alone as it is shown
    // (without "Результат=" and the blanks before it), for pasting into another program.
    QMenu* ResultMenu = nullptr;
    QAction* CopySelectionItem = nullptr; // "Копировать"
    QAction* CopyValueItem = nullptr;     // "Копировать значение"

    // The window's help file and topic.
    std::string HelpFile = "Zorvo_d.hlp";
    int HelpContext = 1;

signals:
    void closed();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void guarded(void (TForm1::*handler)());
    // Says why a memo refused what was typed or pasted into it.
    void memoFull();
    // The activation's FormActivate once no command runs (at once when none does).
    void activateWhenIdle();
    void LoadFormulaFile(const std::string& fileName);
    void applyFonts();
    void centreOnScreen();

    std::unique_ptr<Ui::TForm1> ui;
    Toolkit& m_toolkit;
    std::function<void()> m_showGraphWindow;
    bool m_activatePending = true; // the first activation runs FormActivate
    bool m_activationOwed = false; // FormActivate waits for the running command
    bool m_centred = false;
};
