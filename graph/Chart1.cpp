#include "Chart1.h"

#include "ButtonGlyphs.h"
#include "CommandGate.h"
#include "CoordinateReadout.h"
#include "FormScale.h"
#include "GraphChart.h"
#include "GraphCommands.h"
#include "GraphHost.h"
#include "PictureFile.h"
#include "PopupMenuAccessibility.h"
#include "TextCodec.h"
#include "ui_Chart1.h"

#include "TChart.h"
#include "TLineSeries.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

#include <cmath>

namespace {

constexpr int DesignDpi = 120;
constexpr int FormFontHeight = 14;  // pixels at 120 pixels per inch
constexpr int LabelFontHeight = 17; // the "X min" and "X max" labels
constexpr int ReadoutGap = 8;       // between the readout and its neighbours, at 120 per inch

QColor QtColour(TColor colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

} // namespace

TGraf::TGraf(GraphHost& host, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TGraf>()), m_host(host) {
    m_ui->setupUi(this);
    Chart1 = m_ui->Chart1;
    Label1 = m_ui->Label1;
    Label2 = m_ui->Label2;
    Edit2 = m_ui->Edit2;
    Edit3 = m_ui->Edit3;
    Panel1 = m_ui->Panel1;
    SpeedButton1 = m_ui->SpeedButton1;
    SpeedButton2 = m_ui->SpeedButton2;
    SpeedButton3 = m_ui->SpeedButton3;
    SpeedButton4 = m_ui->SpeedButton4;
    N1 = m_ui->N1;
    N2 = m_ui->N2;
    fx01 = m_ui->fx01;
    N3 = m_ui->N3;
    SavePictureItem = m_ui->SavePictureItem;
    CopyPictureItem = m_ui->CopyPictureItem;

    // A sizeable window with the usual title-bar buttons.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QtColour(clAqua));
    setPalette(palette);
    setAutoFillBackground(true);
    QPalette panelPalette = Panel1->palette();
    panelPalette.setColor(QPalette::Window, panelPalette.color(QPalette::Button));
    Panel1->setPalette(panelPalette);

    SetDesignFont(this, FormFontHeight);
    SetDesignFont(Label1, LabelFontHeight);
    SetDesignFont(Label2, LabelFontHeight);
    // The labels are the window's, beside their fields, so that each field is labelled by its
    // caption for a screen reader; the mouse passes through them to the chart they lie on.
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label2->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The edit boxes lie on the chart, beside their labels.
    Edit2->raise();
    Edit3->raise();
    Panel1->raise();

    // The readout is a label of the window over the chart, so the chart's image stays what the
    // chart paints, and a new text repaints only the label's rectangle (the chart copies its
    // image there, it does not paint again). Its text is its accessible name, as a label's is.
    Readout = new QLabel(this);
    Readout->setObjectName(QStringLiteral("Readout"));
    Readout->setTextFormat(Qt::PlainText);
    Readout->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Readout->setAttribute(Qt::WA_TransparentForMouseEvents);
    Readout->hide();
    Readout->raise();
    // Moves without a button reach the chart, for the readout.
    Chart1->setMouseTracking(true);

    const struct {
        QToolButton* Button;
        const GlyphRows& Picture;
    } pictures[] = {{SpeedButton1, SpeedButtonGlyphs::Plot},
                    {SpeedButton2, SpeedButtonGlyphs::Clear},
                    {SpeedButton3, SpeedButtonGlyphs::Solve},
                    {SpeedButton4, SpeedButtonGlyphs::Exit}};
    for (const auto& entry : pictures) {
        entry.Button->setIcon(ButtonIcon(entry.Picture));
        entry.Button->setIconSize(QSize(16, 16));
    }

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setAccessibleName(QStringLiteral("Меню графика"));
    PopupMenu1->addActions({N1, N2, fx01, N3});
    PopupMenu1->addSeparator();
    PopupMenu1->addActions({SavePictureItem, CopyPictureItem});
    // The window holds them too, so that their shortcuts work while the menu is closed.
    addActions({SavePictureItem, CopyPictureItem});
    InstallPopupMenuAccessibility(); // a screen reader reaches the menu while it is open

    connect(N1, &QAction::triggered, this, [this] { N1Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(fx01, &QAction::triggered, this, [this] { fx01Click(); });
    connect(N3, &QAction::triggered, this, [this] { N3Click(); });
    connect(SavePictureItem, &QAction::triggered, this, [this] { SavePictureClick(); });
    connect(CopyPictureItem, &QAction::triggered, this, [this] { CopyPictureClick(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });

    const double scale = DesignScale(this, DesignDpi);
    ScaleForm(this, scale);
    m_panelRightGap = width() - Panel1->geometry().right() - 1;
    Series1 = SetUpGraphChart(*Chart1, scale);
    PlaceReadout();
    // A new picture under a resting mouse (a plot, a wheel turn) gets its readout anew.
    // (after the paint has ended: the label is not changed while the chart paints).
    Chart1->OnAfterDraw = [this](TChart*) {
        QMetaObject::invokeMethod(
            this, [this] { UpdateReadout(); }, Qt::QueuedConnection);
    };

    // Activations of the other windows and right clicks anywhere in this one are seen here.
    qApp->installEventFilter(this);
}

TGraf::~TGraf() = default;

int TGraf::ShowModal() {
    return exec();
}

void TGraf::FormActivate() {
    RunCommand(Kind::Plotting, [this] {
        Series1->ClearPoints();
        PlotGraph();
    });
}

void TGraf::N1Click() {
    RunCommand(Kind::Plotting, [this] { PlotGraph(); });
}

void TGraf::N2Click() {
    RunCommand(Kind::Other, [this] {
        Series1->ClearPoints();
        m_solution.clear();
        DescribeChart();
    });
}

void TGraf::fx01Click() {
    RunCommand(Kind::Other, [this] {
        const std::optional<std::string> solution =
            SolveEquation(m_host, FromQt(Edit2->text()), FromQt(Edit3->text()));
        if (solution) {
            m_solution = ToQt(*solution);
            m_solvedGraph = DescribedGraph();
            DescribeChart();
        }
    });
}

void TGraf::N3Click() {
    close(); // refused while a command runs (closeEvent)
}

void TGraf::SpeedButton1Click() {
    N1Click();
}
void TGraf::SpeedButton2Click() {
    N2Click();
}
void TGraf::SpeedButton3Click() {
    fx01Click();
}
void TGraf::SpeedButton4Click() {
    close();
}

void TGraf::SavePictureClick() {
    RunCommand(Kind::Picture, [this] {
        const std::optional<std::string> name =
            m_host.AskSaveFileName(Cp("Рисунок PNG|*.png"), "png");
        if (!name)
            return;
        const QString shown = QFile::decodeName(QByteArray::fromStdString(*name));
        const QFileInfo file(shown);
        if ((file.exists() || file.isSymLink()) &&
            !m_host.Confirm(FromQt(QStringLiteral("Файл %1 уже есть. Заменить его?").arg(shown))))
            return;
        SavePicture(Picture(), *name);
    });
}

void TGraf::CopyPictureClick() {
    RunCommand(Kind::Picture, [this] { QGuiApplication::clipboard()->setImage(Picture()); });
}

QImage TGraf::Picture() {
    QImage picture = Chart1->CurrentImage();
    // A program that places the picture shows it at the size it had on this screen.
    const double perMetre = Chart1->logicalDpiX() * picture.devicePixelRatio() / 0.0254;
    picture.setDotsPerMeterX(int(std::lround(perMetre)));
    picture.setDotsPerMeterY(int(std::lround(perMetre)));
    return picture;
}

void TGraf::PlotGraph() {
    // The description follows every plot, also one that an error ended half-way.
    struct DescribeOnExit {
        TGraf& window;
        ~DescribeOnExit() { window.DescribeChart(); }
    } describe{*this};
    ::PlotGraph(m_host, FromQt(Edit2->text()), FromQt(Edit3->text()), *Series1);
}

QString TGraf::DescribedGraph() const {
    return QStringLiteral("График f(x) = %1 на интервале от %2 до %3")
        .arg(ToQt(m_host.FormulaBody()), Edit2->text().trimmed(), Edit3->text().trimmed());
}

void TGraf::DescribeChart() {
    if (Series1->Count() == 0) {
        Chart1->SetAccessibleSubject(QStringLiteral("График пуст"));
        return;
    }
    const QString graph = DescribedGraph();
    // The solution is told as long as the graph it was found on is shown: the window plots
    // again when the result's box closes, and the answer must not vanish with that.
    if (!m_solution.isEmpty() && graph != m_solvedGraph)
        m_solution.clear();
    Chart1->SetAccessibleSubject(m_solution.isEmpty() ? graph
                                                      : graph + QStringLiteral(". ") + m_solution);
}

void TGraf::RunCommand(Kind kind, const std::function<void()>& command) {
    const bool quiet = kind != Kind::Other;
    CommandGate::Application().Run([&] {
        // A plotting and every box it shows form one quiet period: closing those boxes gives
        // the focus back to this window, and that must not start the plotting again. A
        // picture command's boxes (the question before replacing a file) leave the graph
        // as it is shown, too.
        if (quiet) {
            m_gate.QuietStarted();
        }
        bool raised = false;
        m_host.Guard([&] {
            try {
                command();
            } catch (...) {
                // The error box comes next; its closing is no reason to plot.
                raised = true;
                m_gate.QuietStarted();
                throw;
            }
        });
        if (raised) {
            m_gate.QuietFinished(isActiveWindow());
        }
        if (quiet) {
            m_gate.QuietFinished(isActiveWindow());
        }
    });
}

void TGraf::PlotWhenIdle() {
    // The focus came back from a box of a command that may still run (a solving's result or
    // engine message, the tolerance dialog): the plotting waits until that command has
    // returned, and comes once however many of its boxes closed.
    if (m_plotOwed) {
        return;
    }
    m_plotOwed = true;
    CommandGate::Application().WhenIdle([window = QPointer<TGraf>(this)] {
        if (!window) {
            return;
        }
        window->m_plotOwed = false;
        // Still due only while the window is shown.
        if (window->isVisible()) {
            window->FormActivate();
        }
    });
}

void TGraf::PlaceReadout() {
    // The free part of the top strip: from beside the X max field to before the buttons, as
    // high as two lines of the form's font.
    const double scale = DesignScale(this, DesignDpi);
    const int gap = int(std::lround(ReadoutGap * scale));
    const int left = Edit3->geometry().right() + 1 + gap;
    const int right = Panel1->x() - gap;
    Readout->setGeometry(left, 0, std::max(right - left, 0),
                         2 * Readout->fontMetrics().lineSpacing() + 2);
}

void TGraf::UpdateReadout() {
    QString text;
    if (m_mouseOverChart) {
        try {
            text =
                CoordinateReadout(*Chart1, *Series1, m_mouseOverChart->x(), m_mouseOverChart->y());
        } catch (const std::exception&) {
            text.clear(); // the readout is a convenience: it shows nothing rather than fail
        }
    }
    if (Readout->text() != text)
        Readout->setText(text);
    Readout->setVisible(!text.isEmpty());
}

bool TGraf::IsOwnWidget(const QObject* object) const {
    if (!object->isWidgetType()) {
        return false;
    }
    const auto* widget = static_cast<const QWidget*>(object);
    return widget == this || isAncestorOf(widget);
}

bool TGraf::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        const bool handled = QDialog::event(event);
        if (m_gate.Activated()) {
            PlotWhenIdle();
        }
        return handled;
    }
    if (event->type() == QEvent::WindowDeactivate) {
        m_gate.Deactivated();
    }
    return QDialog::event(event);
}

bool TGraf::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowActivate:
        // Pop-up menus and tool tips never take the focus; the other windows of the
        // application do, unless they are marked as another program's.
        if (watched != this && watched->isWidgetType()) {
            const auto* window = static_cast<QWidget*>(watched);
            const Qt::WindowType type = window->windowType();
            if (window->isWindow() && type != Qt::Popup && type != Qt::ToolTip &&
                !window->property(ForeignWindowProperty).toBool()) {
                m_gate.OtherWindowActivated();
            }
        }
        break;
    case QEvent::MouseMove:
        // The readout follows the mouse over the chart while no button is held (a drag shows
        // its own band or moves the axes).
        if (watched == Chart1) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->buttons() == Qt::NoButton)
                m_mouseOverChart = mouse->position().toPoint();
            else
                m_mouseOverChart.reset();
            UpdateReadout();
        }
        break;
    case QEvent::Leave:
        if (watched == Chart1) {
            m_mouseOverChart.reset();
            UpdateReadout();
        }
        break;
    case QEvent::ShortcutOverride:
        // An edit field takes Ctrl+C for itself even when nothing is selected in it; then the
        // key copies the picture, which is what the focus in X min or X max would otherwise
        // always keep from the user. With a selection the field copies it, as everywhere.
        if (watched == Edit2 || watched == Edit3) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy) &&
                !static_cast<QLineEdit*>(watched)->hasSelectedText())
                return true; // unanswered: the window's shortcut runs
        }
        break;
    case QEvent::MouseButtonPress: {
        if (watched == Chart1 && m_mouseOverChart) {
            m_mouseOverChart.reset(); // a drag may start: the readout waits for the next move
            UpdateReadout();
        }
        // A right click anywhere in the window opens the pop-up menu. A right drag inside the
        // plot pans the axes instead, so the menu waits for the release and shows only when
        // the mouse has not been dragged in between.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && IsOwnWidget(watched)) {
            m_rightPressAt = mouse->globalPosition().toPoint();
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && m_rightPressAt && IsOwnWidget(watched)) {
            const QPoint at = mouse->globalPosition().toPoint();
            const bool dragged =
                (at - *m_rightPressAt).manhattanLength() >= QApplication::startDragDistance();
            m_rightPressAt.reset();
            if (!dragged) {
                PopupMenu1->popup(at);
            }
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TGraf::keyPressEvent(QKeyEvent* event) {
    // F1 that no control took opens the window's help topic. There is no default or cancel
    // button: Enter and Esc do not close the window.
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        event->accept();
        RunCommand(Kind::Other, [this] { m_host.ShowHelp(HelpContext); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void TGraf::closeEvent(QCloseEvent* event) {
    // Closing is a command too: the window stays while one of its commands shows a box.
    if (CommandGate::Application().Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
    // The next showing starts without the readout of where the mouse was this time.
    m_mouseOverChart.reset();
    UpdateReadout();
}

void TGraf::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The chart fills the client area; the button panel keeps its distance to the right edge.
    Chart1->setGeometry(rect());
    Panel1->move(width() - m_panelRightGap - Panel1->width(), Panel1->y());
    if (Readout)
        PlaceReadout();
}

void TGraf::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
