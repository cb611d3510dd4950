#pragma once
// The graph window's view of the calculator application: the calculation command on the
// calculator window, its formula, the tolerance dialog and Tolerance, the toolkit's boxes and
// help, and the default error handling.

#include "GraphHost.h"
#include "Toolkit.h"

class TForm1;
class TForm2;

class GraphHostAdapter : public GraphHost {
public:
    // Both must outlive the adapter. The tolerance dialog is created after the graph window
    // (the windows' order at start-up) and attached then.
    GraphHostAdapter(TForm1& calculator, Toolkit& toolkit);
    void SetToleranceDialog(TForm2* dialog) { m_toleranceDialog = dialog; }

    void Calculate() override;
    const std::string& FormulaBody() const override;
    bool ShowToleranceDialog() override; // false while no dialog is attached
    long double Tolerance() const override;
    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowHelp(int context) override; // "Zorvo_d.hlp", the graph window's help file
    std::optional<std::string> AskSaveFileName(const std::string& filter,
                                               const std::string& defaultExtension) override;
    void Guard(const std::function<void()>& handler) override;

private:
    TForm1& m_calculator;
    TForm2* m_toleranceDialog = nullptr;
    Toolkit& m_toolkit;
};
