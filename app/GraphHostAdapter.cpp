#include "GraphHostAdapter.h"

#include "CalculatorState.h"
#include "Epsa.h"
#include "ErrorGuard.h"
#include "QtToolkit.h"
#include "Unit1.h"

#include "Chart1.h"

#include <string_view>

// The graph window tells the windows of another program by the same mark as the toolkit sets.
static_assert(std::string_view(TGraf::ForeignWindowProperty) ==
              std::string_view(kForeignWindowProperty));

GraphHostAdapter::GraphHostAdapter(TForm1& calculator, Toolkit& toolkit)
    : m_calculator(calculator), m_toolkit(toolkit) {}

void GraphHostAdapter::Calculate() {
    m_calculator.Calculate();
}

const std::string& GraphHostAdapter::FormulaBody() const {
    return ::FormulaBody;
}

bool GraphHostAdapter::ShowToleranceDialog() {
    return m_toleranceDialog != nullptr && m_toleranceDialog->ShowModal() == TForm2::mrOk;
}

long double GraphHostAdapter::Tolerance() const {
    return ::Tolerance;
}

void GraphHostAdapter::ShowMessage(const std::string& text) {
    m_toolkit.ShowMessage(text);
}

bool GraphHostAdapter::Confirm(const std::string& text) {
    return m_toolkit.Confirm(text);
}

void GraphHostAdapter::ShowHelp(int context) {
    m_toolkit.ShowHelp("Zorvo_d.hlp", context);
}

std::optional<std::string> GraphHostAdapter::AskSaveFileName(const std::string& filter,
                                                             const std::string& defaultExtension) {
    return m_toolkit.SaveFileName({filter, defaultExtension});
}

void GraphHostAdapter::Guard(const std::function<void()>& handler) {
    RunGuarded(m_toolkit, handler);
}
