#include "Epsa.h"

#include "ErrorGuard.h"
#include "TextCodec.h"
#include "ui_Epsa.h"

#include "ButtonGlyphs.h"
#include "FormScale.h"
#include "NumberText.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

long double Tolerance = 0;

namespace {

constexpr int DesignDpi = 120;
constexpr int FormFontHeight = 14;  // pixels at 120 pixels per inch
constexpr int LargeFontHeight = 17; // the explanation and the prompt

// clang-format off
const GlyphRows OkPicture = {
    "................",
    "................",
    "...........gg...",
    "..........gGg...",
    ".........gGGg...",
    "........gGGg....",
    "..gg...gGGg.....",
    ".gGGg.gGGg......",
    ".gGGGgGGg.......",
    "..gGGGGg........",
    "...gGGg.........",
    "....gg..........",
    "................",
    "................",
    "................",
    "................",
};

const GlyphRows CancelPicture = {
    "................",
    "................",
    "..rr......rr....",
    "..rRr....rRr....",
    "...rRr..rRr.....",
    "....rRrrRr......",
    ".....rRRr.......",
    ".....rRRr.......",
    "....rRrrRr......",
    "...rRr..rRr.....",
    "..rRr....rRr....",
    "..rr......rr....",
    "................",
    "................",
    "................",
    "................",
};
// clang-format on

} // namespace

TForm2::TForm2(Toolkit& toolkit, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TForm2>()), m_toolkit(toolkit) {
    m_ui->setupUi(this);
    Label1 = m_ui->Label1;
    StaticText1 = m_ui->StaticText1;
    Edit1 = m_ui->Edit1;
    BitBtn1 = m_ui->BitBtn1;
    BitBtn2 = m_ui->BitBtn2;

    // A dialog border: not resizable, no minimise or maximise buttons.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    SetDesignFont(this, FormFontHeight);
    SetDesignFont(Label1, LargeFontHeight);
    SetDesignFont(StaticText1, LargeFontHeight);
    BitBtn1->setIcon(ButtonIcon(OkPicture));
    BitBtn2->setIcon(ButtonIcon(CancelPicture));
    BitBtn1->setAutoDefault(true);
    BitBtn2->setAutoDefault(true);
    // Edit1 lies over the right end of the prompt.
    Edit1->raise();

    ScaleForm(this, DesignScale(this, DesignDpi));
    setFixedSize(size());

    // The OK button's result is set before its handler runs: a handler that fails (a text that
    // is not a number) has its error shown, and the dialog still closes with OK.
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        setResult(mrOk);
        RunGuarded(m_toolkit, [this] { BitBtn1Click(); });
        done(mrOk);
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

TForm2::~TForm2() = default;

int TForm2::ShowModal() {
    // The window that opened the dialog gets the focus back when it closes, also where no
    // window manager hands it back: the graph window plots again on that activation.
    const QPointer<QWidget> opener = QApplication::activeWindow();
    // Esc and the close box reject the dialog (result 0); everything but OK is Cancel.
    const int result = exec() == mrOk ? mrOk : mrCancel;
    if (opener && opener->isVisible()) {
        opener->activateWindow();
    }
    return result;
}

void TForm2::BitBtn1Click() {
    Tolerance = ParseRealLocale(FromQt(Edit1->text()));
}

void TForm2::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    Edit1->setFocus(Qt::ActiveWindowFocusReason);
}
