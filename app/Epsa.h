#pragma once
// The tolerance dialog: before f(x) = 0 is solved, the user confirms or changes the admissible
// error of the solution. Created once at start-up; the edit field keeps its text between
// showings.

#include "Toolkit.h"

#include <QDialog>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace Ui {
class TForm2;
}

// The admissible error handed to the root finder: one value for the whole process, written
// only by the dialog's OK handler; 0 until a value has been accepted for the first time.
extern long double Tolerance;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    // The modal results of the dialog.
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    // Laid out from its form description at 120 pixels per inch and scaled to the screen;
    // errors of its handler go to the default error handling with `toolkit`.
    explicit TForm2(Toolkit& toolkit, QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the dialog modally: mrOk after OK (or Enter), mrCancel after "Отмена", Esc or the
    // close box.
    int ShowModal();

    // Tolerance := the text of Edit1 read with the regional decimal separator. A text that is
    // not a number raises EConvertError and leaves Tolerance as it was.
    void BitBtn1Click();

    QLabel* Label1 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TForm2> m_ui;
    Toolkit& m_toolkit;
};
