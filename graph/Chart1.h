#pragma once
// The graph window: the chart of the current formula over [X min, X max], plotted anew
// whenever the window becomes active, with the equation-solving command beside it.

#include "ActivationGate.h"

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class GraphHost;
class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;
class TChart;
class TLineSeries;

namespace Ui {
class TGraf;
}

class TGraf : public QDialog {
    Q_OBJECT
public:
    // The window is laid out from its form description at 120 pixels per inch and scaled to
    // the screen. It uses the application only through `host`, which must outlive it.
    explicit TGraf(GraphHost& host, QWidget* parent = nullptr);
    ~TGraf() override;

    // Shows the window modally; returns when it is closed.
    int ShowModal();

    // The window's handlers, under their given names. Each runs as a command of the
    // application (CommandGate): refused while another command runs.
    void FormActivate();      // empties the series, then plots
    void N1Click();           // plots
    void N2Click();           // empties the series
    void fx01Click();         // solves f(x) = 0 on [X min, X max]
    void N3Click();           // closes the graph window (refused while a command runs)
    void SpeedButton1Click(); // N1Click
    void SpeedButton2Click(); // N2Click
    void SpeedButton3Click(); // fx01Click
    void SpeedButton4Click(); // closes the graph window
    // The chart's picture, as the window shows it at the screen's resolution: saved as PNG
    // through the save dialog (a file that exists is replaced only when the user agrees), or
    // put on the clipboard. Neither plots, and the boxes they show do not plot when they close.
    void SavePictureClick();
    void CopyPictureClick();
    // The plotting command itself (without the error handling around a handler).
    void PlotGraph();

    // The controls of the form description.
    TChart* Chart1 = nullptr;
    TLineSeries* Series1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* N1 = nullptr;
    QAction* N2 = nullptr;
    QAction* fx01 = nullptr;
    QAction* N3 = nullptr;
    QAction* SavePictureItem = nullptr; // "Сохранить рисунок…", Ctrl+S
    QAction* CopyPictureItem = nullptr; // "Копировать рисунок", Ctrl+C
    // The coordinates under the mouse, in the top strip between X max and the buttons; hidden
    // while the mouse is not over the plot rectangle of a graph.
    QLabel* Readout = nullptr;

    // The help topic that F1 opens.
    static constexpr int HelpContext = 1;
    // The application marks the windows that count as another program's with this property
    // (the error box, the help window, file dialogs): the focus coming back from them does not
    // plot again.
    static constexpr char ForeignWindowProperty[] = "zorvoForeignWindow";

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // A plotting's boxes, and those of a picture command, do not plot again when they close.
    enum class Kind { Plotting, Picture, Other };
    // Runs a handler as a command of the application, through its default error handling;
    // the error box that may follow is a window whose closing does not plot again, and
    // neither are the boxes of a plotting.
    void RunCommand(Kind kind, const std::function<void()>& command);
    // FormActivate once no command runs (at once when none does).
    void PlotWhenIdle();
    bool IsOwnWidget(const QObject* object) const;
    // Tells the chart what it shows: the formula and the interval of the last plot, the
    // solution found on them, or that it is empty (its accessible description, which the
    // chart completes when it paints).
    void DescribeChart();
    // The formula and interval as the description names them.
    QString DescribedGraph() const;
    // The readout for the last mouse position over the chart, or none.
    void UpdateReadout();
    void PlaceReadout();
    // The chart's image as a picture: its pixels, and its density for the programs it goes to.
    QImage Picture();

    std::unique_ptr<Ui::TGraf> m_ui;
    GraphHost& m_host;
    ActivationGate m_gate;
    bool m_plotOwed = false; // an activation's plotting waits for the running command
    int m_panelRightGap = 0;
    std::optional<QPoint> m_rightPressAt;   // global position of a right press in the window
    std::optional<QPoint> m_mouseOverChart; // where the mouse rests on the chart, no button held
    // The last solution as it was shown, and the graph (DescribedGraph) it was found on.
    QString m_solution;
    QString m_solvedGraph;
};
