#include "Unit1.h"

#include "BoundedMemo.h"
#include "Calculation.h"
#include "CalculatorState.h"
#include "CommandGate.h"
#include "ErrorGuard.h"
#include "FormulaFile.h"
#include "Glyphs.h"
#include "QtToolkit.h"
#include "TextCodec.h"
#include "ui_Unit1.h"
#include "zorvo3.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextDocument>

namespace {
constexpr int kClientWidth = 410;
constexpr int kClientHeight = 292;
constexpr int kFontHeight = 10; // the window's font, "MS Sans Serif" 10 pixels
// The labels' and static texts' font, "MS Sans Serif" 15 pixels: the labels are 16 pixels
// high, and a scalable font keeps its parentheses and descenders inside them at 14.
constexpr int kLargeFontHeight = 14;

// A memo's text as it was typed, lines joined by CR LF. toPlainText() would turn a no-break
// space (code 160) into a blank: a formula would then calculate where it is faulty, and a
// saved file would lose the character.
std::string MemoText(const QPlainTextEdit* memo) {
    return FromQtLines(memo->document()->toRawText());
}

// The result field is read by its text. QLabel tells screen readers of a changed text itself;
// a new result that reads like the last one changes nothing, and is announced here, so that
// every press of "Посчитать" is answered.
void ShowResult(QLabel* field, const QString& caption) {
    if (field->text() != caption) {
        field->setText(caption);
        return;
    }
    QAccessibleEvent event(field, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
// The number of a result caption: what follows "Результат=" without the blanks that
// right-justify it. The caption writes it with a point whatever the regional settings.
QString ResultValue(const QString& caption) {
    static const QString head = QStringLiteral("Результат=");
    return (caption.startsWith(head) ? caption.mid(head.size()) : caption).trimmed();
}
} // namespace

TForm1::TForm1(Toolkit& toolkit, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TForm1>()), m_toolkit(toolkit) {
    ui->setupUi(this);
    OpenDialog1 = {Cp("Формулы|*.frm"), "*.frm"};
    SaveDialog1 = {Cp("формулы|*.frm"), "frm"};
    applyFonts();

    ui->BitBtn1->setIcon(GlyphIcon(CalculateGlyph()));
    ui->BitBtn3->setIcon(GlyphIcon(ClearGlyph()));
    ui->BitBtn2->setIcon(GlyphIcon(CloseGlyph()));

    // Fixed single border: the client area is 410 × 292 below the menu bar.
    ui->ClientArea->setFixedSize(kClientWidth, kClientHeight);
    setFixedSize(kClientWidth, kClientHeight + ui->MainMenu1->sizeHint().height());

    connect(ui->BitBtn1, &QPushButton::clicked, this, [this] { guarded(&TForm1::BitBtn1Click); });
    connect(ui->BitBtn3, &QPushButton::clicked, this, [this] { guarded(&TForm1::BitBtn3Click); });
    connect(ui->BitBtn2, &QPushButton::clicked, this, [this] { close(); });
    connect(ui->N2, &QAction::triggered, this, [this] { guarded(&TForm1::N2Click); });
    connect(ui->N3, &QAction::triggered, this, [this] { guarded(&TForm1::N3Click); });
    connect(ui->N4, &QAction::triggered, this, [this] { guarded(&TForm1::N4Click); });
    // The graph window is a window of its own, whose commands run while it is open: opening
    // it is refused while a command runs, but holds the gate no longer than that.
    connect(ui->N5, &QAction::triggered, this, [this] {
        if (!CommandGate::Application().Running()) {
            RunGuarded(m_toolkit, [this] { N5Click(); });
        }
    });
    connect(ui->N7, &QAction::triggered, this, [this] { guarded(&TForm1::N7Click); });
    // Text refused by a memo: the message is a command of its own, so it is not shown while
    // another command runs (the text is refused all the same).
    for (BoundedMemo* memo : {ui->Memo1, ui->Memo2}) {
        connect(memo, &BoundedMemo::textRefused, this, [this] { guarded(&TForm1::memoFull); });
    }
    // The result can be selected with the mouse and the keyboard (Ctrl+C copies the
    // selection) and copied as a number alone from its context menu.
    QLabel* result = ui->StaticText1;
    result->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    result->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(ui->CheckBox1, result);
    ResultMenu = new QMenu(result);
    ResultMenu->setObjectName(QStringLiteral("ResultMenu"));
    ResultMenu->setAccessibleName(QStringLiteral("Меню результата"));
    CopySelectionItem = ResultMenu->addAction(QStringLiteral("Копировать"));
    CopyValueItem = ResultMenu->addAction(QStringLiteral("Копировать значение"));
    connect(CopySelectionItem, &QAction::triggered, this,
            [result] { QGuiApplication::clipboard()->setText(result->selectedText()); });
    connect(CopyValueItem, &QAction::triggered, this,
            [result] { QGuiApplication::clipboard()->setText(ResultValue(result->text())); });
    result->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(result, &QWidget::customContextMenuRequested, this, [this, result](QPoint at) {
        CopySelectionItem->setEnabled(result->hasSelectedText());
        CopyValueItem->setEnabled(!ResultValue(result->text()).isEmpty());
        ResultMenu->popup(result->mapToGlobal(at));
    });
    // F1 anywhere in the window: the window's help context (its controls have none).
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { guarded(&TForm1::N7Click); });
}

TForm1::~TForm1() = default;

void TForm1::applyFonts() {
    // Pixel heights as the window was designed; the family names are substituted at start-up
    // by fonts that are installed. The form's font is its client area's: the menu bar and its
    // menus keep the desktop's menu font, as every program's menus do.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(kFontHeight);
    ui->ClientArea->setFont(font);
    QFont large = font;
    large.setPixelSize(kLargeFontHeight);
    for (QWidget* w : {static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->Label4),
                       static_cast<QWidget*>(ui->Label3), static_cast<QWidget*>(ui->StaticText3),
                       static_cast<QWidget*>(ui->StaticText1)}) {
        w->setFont(large);
    }
}

void TForm1::guarded(void (TForm1::*handler)()) {
    CommandGate::Application().Run(
        [this, handler] { RunGuarded(m_toolkit, [this, handler] { (this->*handler)(); }); });
}

// ---- Activation ----------------------------------------------------------------------------

bool TForm1::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        if (!m_centred) {
            m_centred = true;
            centreOnScreen();
        }
        break;
    case QEvent::WindowDeactivate: {
        // The window that takes the focus decides whether its closing counts: a window of this
        // application (a message box, the graph window) does; another program, the error box,
        // the file dialogs and the help window do not.
        const QWidget* next = QApplication::activeWindow();
        if (next != nullptr && next != this && !next->property(kForeignWindowProperty).toBool()) {
            m_activatePending = true;
        }
        break;
    }
    case QEvent::WindowActivate:
        if (m_activatePending) {
            m_activatePending = false;
            activateWhenIdle();
        }
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

void TForm1::activateWhenIdle() {
    // The focus may come back from a box of a command that still runs: FormActivate waits
    // until it has returned, and comes once however many of its boxes closed.
    if (m_activationOwed) {
        return;
    }
    m_activationOwed = true;
    CommandGate::Application().WhenIdle([window = QPointer<TForm1>(this)] {
        if (window) {
            window->m_activationOwed = false;
            window->guarded(&TForm1::FormActivate);
        }
    });
}

void TForm1::centreOnScreen() {
    if (QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::FormActivate() {
    FillLetterSet();
    ui->Edit1->setText(QStringLiteral("1"));
    ui->Memo1->setFocus(Qt::ActiveWindowFocusReason);
}

// ---- Keys and closing ----------------------------------------------------------------------

void TForm1::keyPressEvent(QKeyEvent* event) {
    // Enter that no control took (the memos take it for a new line, a focused button presses
    // itself) presses the default button.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        ui->BitBtn1->isEnabled()) {
        event->accept();
        ui->BitBtn1->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing ends the program: never while a command shows a box.
    if (CommandGate::Application().Running()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

// ---- Commands --------------------------------------------------------------------------------

void TForm1::Calculate() {
    CalculationInput input;
    input.memoText = MemoText(ui->Memo1);
    input.xText = FromQt(ui->Edit1->text());
    input.digitsText = FromQt(ui->Edit3->text());
    input.exponential = ui->CheckBox1->isChecked();
    if (const std::optional<std::string> caption = ::Calculate(input, m_toolkit)) {
        ShowResult(ui->StaticText1, ToQt(*caption));
    }
}

void TForm1::BitBtn1Click() {
    Calculate();
}

void TForm1::BitBtn3Click() {
    ui->Memo1->clear();
    ui->Memo2->clear();
}

void TForm1::N2Click() {
    BitBtn3Click();
}

void TForm1::N3Click() {
    const std::optional<std::string> name = m_toolkit.OpenFileName(OpenDialog1);
    if (!name) {
        return;
    }
    LoadFormulaFile(*name);
}

void TForm1::LoadFormulaFile(const std::string& fileName) {
    FormulaFileName = fileName;
    ReadFormulaFile(FormulaFileName);
    ui->Memo1->setPlainText(ToQtLines(FormulaLine));
    ui->Memo2->setPlainText(ToQtLines(CommentLine));
}

void TForm1::OpenFormulaFile(const std::string& fileName) {
    RunGuarded(m_toolkit, [this, &fileName] { LoadFormulaFile(fileName); });
}

void TForm1::N4Click() {
    const std::optional<std::string> name = m_toolkit.SaveFileName(SaveDialog1);
    if (!name) {
        return;
    }
    FormulaFileName = *name;
    FormulaLine = BlankControlCharacters(MemoText(ui->Memo1));
    CommentLine = MemoText(ui->Memo2);
    FormulaFileName = WithFormulaExtension(FormulaFileName);
    WriteFormulaFile(FormulaFileName, FormulaLine, CommentLine);
}

void TForm1::N5Click() {
    if (m_showGraphWindow) {
        m_showGraphWindow();
        // Back from the modal graph window: the focus returns here (and so FormActivate runs)
        // even where no window manager hands it back.
        if (isVisible()) {
            activateWindow();
        }
    }
}

void TForm1::N7Click() {
    m_toolkit.ShowHelp(HelpFile, HelpContext);
}

void TForm1::memoFull() {
    m_toolkit.ShowMessage(MemoFullMessage());
}
