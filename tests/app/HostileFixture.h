#pragma once
// The whole application as start-up wires it (calculator window, graph window, tolerance
// dialog), driven headless with the scripted toolkit, for tests that feed it hostile input:
// every box that a command shows is read back from the toolkit's record, and after each
// command a good calculation must still give its right caption.

#include "AppTestSupport.h"
#include "Calculation.h"

#include "Chart1.h"
#include "Cp1251.h"
#include "Epsa.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "Startup.h"
#include "TLineSeries.h"
#include "Unit1.h"
#include "zorvo3.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

class HostileTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        RegisterFontSubstitutions();
        SetRegionalSeparators('.', ',');
        Tolerance = 0; // as at start-up
        calculator = std::make_unique<TForm1>(toolkit);
        m_host = std::make_unique<GraphHostAdapter>(*calculator, toolkit);
        graf = std::make_unique<TGraf>(*m_host);
        dialog = std::make_unique<TForm2>(toolkit);
        m_host->SetToleranceDialog(dialog.get());
        calculator->FormActivate();
    }
    void TearDown() override {
        graf.reset();
        m_host.reset();
        dialog.reset();
        calculator.reset();
        AppTest::TearDown();
    }

    template <typename T> T* control(const char* name) const {
        T* widget = calculator->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QPlainTextEdit* Memo1() const { return control<QPlainTextEdit>("Memo1"); }
    QPlainTextEdit* Memo2() const { return control<QPlainTextEdit>("Memo2"); }
    QLineEdit* Edit1() const { return control<QLineEdit>("Edit1"); }
    QLineEdit* Edit3() const { return control<QLineEdit>("Edit3"); }
    QCheckBox* CheckBox1() const { return control<QCheckBox>("CheckBox1"); }
    QString Caption() const { return control<QLabel>("StaticText1")->text(); }

    // "Посчитать" with the given formula and x (UTF-8); the other fields as they stand.
    void Calculate(const QString& formula, const QString& x = QStringLiteral("1")) {
        Memo1()->setPlainText(formula);
        Edit1()->setText(x);
        control<QPushButton>("BitBtn1")->click();
    }
    void Menu(const char* item) { control<QAction>(item)->trigger(); }

    // The boxes shown since `mark` (an index into the toolkit's record), in UTF-8:
    // "message: …", "question: …", "error: …".
    std::vector<std::string> ShownSince(std::size_t mark) const {
        std::vector<std::string> shown;
        for (std::size_t i = mark; i < toolkit.calls.size(); ++i) {
            if (std::string box = Shown(toolkit.calls[i]); !box.empty()) {
                shown.push_back(box);
            }
        }
        return shown;
    }
    // One box as ShownSince lists it; empty for the file dialogs and help.
    static std::string Shown(const ScriptedToolkit::Call& call) {
        const std::string text = fromCp1251(call.text);
        switch (call.kind) {
        case ScriptedToolkit::CallKind::Message:
            return "message: " + text;
        case ScriptedToolkit::CallKind::Confirm:
            return "question: " + text;
        case ScriptedToolkit::CallKind::Error:
            return "error: " + text;
        default:
            return {};
        }
    }
    std::size_t Mark() const { return toolkit.calls.size(); }

    // The program goes on: a good calculation after whatever came before gives its caption
    // and shows nothing. The fields are put back to good values first.
    void ExpectNextCalculationWorks() {
        const std::size_t mark = Mark();
        Edit3()->setText(QStringLiteral("3"));
        CheckBox1()->setChecked(false);
        Calculate(QStringLiteral("2*x+1;"));
        EXPECT_EQ(Caption(), QStringLiteral("Результат=           3.000"));
        EXPECT_EQ(ShownSince(mark), std::vector<std::string>{});
    }

    // Runs the solving command from its speed button; the tolerance dialog opens with `tolerance`
    // in its field and is closed with OK.
    void Solve(const QString& tolerance = QStringLiteral("1E-7")) {
        dialog->Edit1->setText(tolerance);
        QTimer::singleShot(0, dialog.get(), [this] { dialog->BitBtn1->click(); });
        graf->SpeedButton3->click();
    }
    // Runs the plotting command from its speed button over the given interval.
    void Plot(const QString& xMin, const QString& xMax) {
        graf->Edit2->setText(xMin);
        graf->Edit3->setText(xMax);
        graf->SpeedButton1->click();
    }

    // What the window system reports when a box (another window of the application) closes
    // and gives the focus back to `window`.
    void FocusComesBackTo(QWidget* window) {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(window, &deactivate);
        QEvent other(QEvent::WindowActivate);
        QApplication::sendEvent(&m_otherWindow, &other);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window, &activate);
    }

    std::unique_ptr<TForm1> calculator;
    std::unique_ptr<TForm2> dialog;
    std::unique_ptr<TGraf> graf;

private:
    std::unique_ptr<GraphHostAdapter> m_host;
    QWidget m_otherWindow; // stands for a box
};

// The engine's and the commands' texts, as the tests expect them in the record.
inline const std::string kFormulaError = "message: " + fromCp1251(BadFormulaMessage());
inline const std::string kBadX = "message: " + fromCp1251(BadXMessage());
inline const std::string kBadDigits = "message: " + fromCp1251(BadDigitsMessage());
inline const std::string kDivideByZero = "message: " + fromCp1251(DivisionByZeroMessage());
inline const std::string kOverflow = "error: Floating point overflow.";
inline const std::string kInvalidOp = "error: Invalid floating point operation.";
