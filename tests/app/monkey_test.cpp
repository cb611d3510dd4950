// The monkey: a seeded random walk of user actions through the real windows of the program
// (calculator, graph window, tolerance dialog and the boxes they show), delivered as the
// window system delivers them, so that modality, focus and activation behave as for a user.
// Every box is answered from inside its own nested event loop, after a random number of
// other actions.
//
// After every action it checks what must always hold: no handler runs inside another; the
// expression tree is the one the last finished calculation built, and no evaluation goes on in
// a tree replaced under it; the memos hold what was typed into them; every paint of the chart
// stays within its time budget. A broken invariant, a sanitizer report, a crash or a freeze
// prints the seed and the actions so far, so that the walk replays, and ends the process.
//
// Every test run makes one short walk with a fixed seed. Longer walks by hand, each replayable
// from its seed and action count:
//   ZORVO_MONKEY_SEED=7 ZORVO_MONKEY_ACTIONS=5000 app_monkey_test      one walk
//   ZORVO_MONKEY_SECONDS=1800 app_monkey_test    walks of ACTIONS each, seeds SEED, SEED+1, ...
// ZORVO_MONKEY_PAINT_MS sets the paint budget, ZORVO_MONKEY_FREEZE_S the time without an action
// that counts as a freeze, ZORVO_MONKEY_VERBOSE=1 prints every action as it is made, and
// ZORVO_MONKEY_CHECKS=0 leaves only the sanitizers, crashes and freezes to end a walk (to see
// what a broken invariant leads to).

#include "MonkeySupport.h"

#include "CalculatorState.h"
#include "Chart1.h"
#include "Epsa.h"
#include "ErrorGuard.h"
#include "GraphHostAdapter.h"
#include "NumberText.h"
#include "Startup.h"
#include "TChart.h"
#include "TextCodec.h"
#include "Unit1.h"
#include "zorvo3.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

struct MonkeyOptions {
    std::uint64_t seed = 1;
    int actions = 10000;       // about 30 s under the sanitizers
    double paintBudgetMs = 16; // processor time
    double freezeSeconds = 120;
    bool verbose = false;
    bool checks = true;
};

struct MonkeyReport {
    int actions = 0;
    int boxes = 0;  // message boxes, questions and error boxes shown
    int paints = 0; // paints of the chart
    double worstPaintMs = 0;
    double worstPaintWallMs = 0;
};

// ---- The walk --------------------------------------------------------------------------------

class Walk;

// The graph window's view of the application, watched: where its handlers start and end,
// where a plotting's calculation ends, and the question asked between two evaluations.
class WatchedGraphHost : public GraphHost {
public:
    WatchedGraphHost(GraphHost& inner, Walk& walk) : m_inner(inner), m_walk(walk) {}
    void Calculate() override;
    const std::string& FormulaBody() const override { return m_inner.FormulaBody(); }
    bool ShowToleranceDialog() override { return m_inner.ShowToleranceDialog(); }
    long double Tolerance() const override { return m_inner.Tolerance(); }
    void ShowMessage(const std::string& text) override { m_inner.ShowMessage(text); }
    bool Confirm(const std::string& text) override;
    void ShowHelp(int context) override { m_inner.ShowHelp(context); }
    std::optional<std::string> AskSaveFileName(const std::string& filter,
                                               const std::string& extension) override {
        return m_inner.AskSaveFileName(filter, extension);
    }
    void Guard(const std::function<void()>& handler) override;

private:
    GraphHost& m_inner;
    Walk& m_walk;
};

class Walk : public QObject {
public:
    Walk(const MonkeyOptions& options, const QString& scratch);
    ~Walk() override;
    MonkeyReport Run();

    // What the watched host reports.
    void CalculationFinished() { m_lastTree = TreeRoot.get(); }
    bool WhileEvaluating(const std::function<bool()>& showBox);
    void GraphHandler(const std::function<void()>& run);

private:
    enum class Place { Calculator, Graph, Tolerance, Box, FileBox, Help, Popup };
    using Act = void (Walk::*)(QWidget* top);
    struct Choice {
        int weight;
        Act act;
    };
    struct Spot {
        QWidget* widget;
        QRect rect;
        QString name;
    };

    void later(int turns);
    void step();
    void checkInvariants();
    void act();
    void windDown();
    QWidget* top();
    Place placeOf(const QWidget* window) const;
    std::vector<QWidget*> visibleWindows() const;
    QWidget* anyWindow(QWidget* otherwise); // a random visible window
    std::vector<Spot> spots(QWidget* window) const;
    QPoint somewhere(const QRect& rect);
    QString textFor(const QWidget* field);
    void prepareFiles();

    // The actions.
    void clickControl(QWidget* top);
    void fillField(QWidget* top);
    void typeJunk(QWidget* top);
    void pressKey(QWidget* top);
    void paste(QWidget* top);
    void chartGesture(QWidget* top);
    void rightClick(QWidget* top);
    void resizeWindow(QWidget* top);
    void activateWindow(QWidget* top);
    void closeWindow(QWidget* top);

    MonkeyOptions m_options;
    QString m_scratch;
    Dice m_dice;
    Hands m_hands;
    MonkeyToolkit m_toolkit;
    TForm1 m_calculator;
    GraphHostAdapter m_adapter;
    WatchedGraphHost m_host;
    TGraf m_graph;
    TForm2 m_dialog;
    PaintClock m_paints;
    MemoWatch m_memos;
    Texts m_fileNames;

    QEventLoop* m_loop = nullptr;
    MonkeyReport m_report;
    bool m_windingDown = false;
    int m_windDownSteps = 0;
    int m_graphHandlers = 0;
    const ExprNode* m_lastTree = nullptr;      // the tree the last finished calculation left
    std::vector<const ExprNode*> m_evaluating; // trees of evaluations paused by a box
};

void WatchedGraphHost::Calculate() {
    struct Finished {
        Walk& walk;
        ~Finished() { walk.CalculationFinished(); }
    } finished{m_walk};
    m_inner.Calculate();
}

bool WatchedGraphHost::Confirm(const std::string& text) {
    // The plotting evaluates on when the answer is No.
    return m_walk.WhileEvaluating([&] { return m_inner.Confirm(text); });
}

void WatchedGraphHost::Guard(const std::function<void()>& handler) {
    m_walk.GraphHandler([&] { m_inner.Guard(handler); });
}

Walk::Walk(const MonkeyOptions& options, const QString& scratch)
    : m_options(options), m_scratch(scratch), m_dice(options.seed), m_toolkit(scratch),
      m_calculator(m_toolkit), m_adapter(m_calculator, m_toolkit), m_host(m_adapter, *this),
      m_graph(m_host), m_dialog(m_toolkit), m_paints(m_graph, options.paintBudgetMs) {
    // As at start-up.
    ResetEngineState();
    ResetCalculatorState();
    Tolerance = 0;
    SetRegionalSeparators('.', ',');
    SetDefaultToolkit(&m_toolkit);
    m_adapter.SetToleranceDialog(&m_dialog);
    m_calculator.SetShowGraphWindow([this] { m_graph.ShowModal(); });
    SetEngineMessageHook([this](const std::string& text) {
        // The evaluation goes on when the box closes.
        WhileEvaluating([&] {
            m_toolkit.ShowMessage(text);
            return true;
        });
    });
    m_toolkit.onBox = [this](const char* kind, const std::string& text) {
        ++m_report.boxes;
        QString shown = ToQt(text);
        shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"))
            .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
        JournalNote(std::string(kind) + (text.empty() ? "" : ": «" + shown.toStdString() + "»"));
        m_memos.BoxOpens();
    };

    m_memos.Watch(m_calculator.findChild<QPlainTextEdit*>(QStringLiteral("Memo1")));
    m_memos.Watch(m_calculator.findChild<QPlainTextEdit*>(QStringLiteral("Memo2")));
    // Connected after the window's own handlers, so these run when the command has finished.
    const auto resync = [this] { m_memos.Resync(); };
    connect(m_calculator.findChild<QAbstractButton*>(QStringLiteral("BitBtn3")),
            &QAbstractButton::clicked, this, resync);
    for (const char* item : {"N2", "N3"}) {
        connect(m_calculator.findChild<QAction*>(QString::fromLatin1(item)), &QAction::triggered,
                this, resync);
    }
    connect(m_calculator.findChild<QAbstractButton*>(QStringLiteral("BitBtn1")),
            &QAbstractButton::clicked, this, [this] { CalculationFinished(); });
    connect(&m_calculator, &TForm1::closed, this,
            [] { JournalNote("the calculator window closed: the program ended"); });
    prepareFiles();
}

Walk::~Walk() {
    SetEngineMessageHook({});
    SetDefaultToolkit(nullptr);
    ResetEngineState();
}

void Walk::prepareFiles() {
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile file(m_scratch + '/' + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            Fail("cannot prepare " + name.toStdString());
        }
    };
    write(QStringLiteral("formula.frm"),
          QByteArray("x*x-2;\r\n") + QByteArray::fromStdString(Cp("корень")) + "\r\n");
    write(QStringLiteral("big.frm"), QByteArray(70000, '1') + ";\r\n\r\n");
    QByteArray binary;
    for (int i = 0; i < 1024; ++i) {
        binary.append(char(i % 256));
    }
    write(QStringLiteral("binary.frm"), binary);
    write(QStringLiteral("readonly.frm"), "1;\r\n\r\n");
    ::chmod(QFile::encodeName(m_scratch + QStringLiteral("/readonly.frm")).constData(), 0444);
    QDir(m_scratch).mkdir(QStringLiteral("folder.frm"));
    for (const char* name : {"formula.frm", "big.frm", "binary.frm", "readonly.frm", "folder.frm",
                             "missing.frm", "new", "no/such/folder/x.frm"}) {
        m_fileNames.push_back(m_scratch + '/' + QString::fromLatin1(name));
    }
    m_fileNames.push_back(QStringLiteral("/dev/null"));
    m_fileNames.push_back(QString());
}

MonkeyReport Walk::Run() {
    QEventLoop loop;
    m_loop = &loop;
    m_calculator.show();
    Hands::Activate(&m_calculator);
    later(0);
    loop.exec();
    m_loop = nullptr;
    // Activations still queued reach the windows while they exist.
    QCoreApplication::processEvents();
    m_report.actions = JournalActions();
    m_report.paints = m_paints.paints;
    m_report.worstPaintMs = m_paints.worstMs;
    m_report.worstPaintWallMs = m_paints.worstWallMs;
    return m_report;
}

// The next step comes after a few turns of whatever event loop runs then: the walk goes on
// inside the nested loop of every box and dialog that an action opens.
void Walk::later(int turns) {
    QTimer::singleShot(0, this, [this, turns] {
        if (turns > 0) {
            later(turns - 1);
        } else {
            step();
        }
    });
}

void Walk::step() {
    Alive();
    checkInvariants();
    if (m_windingDown || JournalActions() >= m_options.actions) {
        m_windingDown = true;
        windDown();
        return;
    }
    later(m_dice.Below(4)); // before acting: the action may not return until its box closes
    act();
}

void Walk::checkInvariants() {
    // A handler that shows a modal window runs that window's handlers inside it: the
    // calculator's menu item shows the graph window, the solving shows the tolerance dialog.
    // Beyond that, one handler at a time.
    const int allowed = 1 + (m_graph.isVisible() ? 1 : 0) + (m_dialog.isVisible() ? 1 : 0);
    if (RunningHandlerDepth() > allowed) {
        Broken("a handler runs inside another: " + std::to_string(RunningHandlerDepth()) +
               " handlers run, at most " + std::to_string(allowed) + " may");
    }
    for (const ExprNode* tree : m_evaluating) {
        if (tree != TreeRoot.get()) {
            Broken("the expression tree was replaced while an evaluation of it waits for its box");
        }
    }
    if (RunningHandlerDepth() == 0 && TreeRoot.get() != m_lastTree) {
        Broken("the expression tree is not the one the last finished calculation built");
    }
    m_memos.Check();
}

bool Walk::WhileEvaluating(const std::function<bool()>& showBox) {
    const ExprNode* tree = TreeRoot.get();
    m_evaluating.push_back(tree);
    const bool answer = showBox();
    if (TreeRoot.get() != tree) {
        Broken("the expression tree was replaced while an evaluation of it waited for its box; "
               "the evaluation would go on in the freed tree");
    }
    m_evaluating.pop_back();
    return answer;
}

void Walk::GraphHandler(const std::function<void()>& run) {
    // The graph window's handlers run inside the calculator's menu item that shows it, and
    // never inside one another.
    if (m_graphHandlers > 0 || RunningHandlerDepth() > 1) {
        Broken("a handler of the graph window starts while another handler runs (" +
               std::to_string(RunningHandlerDepth()) + " running)");
    }
    if (!m_graph.isVisible()) {
        Broken("a handler of the graph window starts while the window is closed");
    }
    ++m_graphHandlers;
    run();
    --m_graphHandlers;
}

// ---- Where the walk is -------------------------------------------------------------------

QWidget* Walk::top() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow(); active && active->isVisible()) {
        return active;
    }
    return &m_calculator;
}

Walk::Place Walk::placeOf(const QWidget* window) const {
    if (qobject_cast<const QMenu*>(window)) {
        return Place::Popup;
    }
    if (window == &m_calculator) {
        return Place::Calculator;
    }
    if (window == &m_graph) {
        return Place::Graph;
    }
    if (window == &m_dialog) {
        return Place::Tolerance;
    }
    if (window->objectName() == QStringLiteral("FileDialog")) {
        return Place::FileBox;
    }
    if (window->objectName() == QStringLiteral("HelpWindow")) {
        return Place::Help;
    }
    return Place::Box;
}

std::vector<QWidget*> Walk::visibleWindows() const {
    std::vector<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowHandle() != nullptr) {
            windows.push_back(w);
        }
    }
    // The order of Qt's list follows addresses; sorted by what they show, the walk replays.
    const auto key = [](const QWidget* w) {
        const auto* box = qobject_cast<const QMessageBox*>(w);
        return std::make_tuple(w->objectName(), QString::fromLatin1(w->metaObject()->className()),
                               w->windowTitle(), box ? box->text() : QString());
    };
    std::sort(windows.begin(), windows.end(),
              [&key](const QWidget* a, const QWidget* b) { return key(a) < key(b); });
    return windows;
}

QWidget* Walk::anyWindow(QWidget* otherwise) {
    const std::vector<QWidget*> windows = visibleWindows();
    return windows.empty() ? otherwise : m_dice.Pick(windows);
}

QString NameOf(const QWidget* w) {
    QString name = w->objectName();
    if (const auto* button = qobject_cast<const QAbstractButton*>(w); button && name.isEmpty()) {
        name = QStringLiteral("«%1»").arg(button->text());
    }
    if (name.isEmpty()) {
        name = QString::fromLatin1(w->metaObject()->className());
    }
    return w->isWindow() ? name : NameOf(w->window()) + '/' + name;
}

QString NameOf(const QAction* action) {
    return action->objectName().isEmpty() ? QStringLiteral("«%1»").arg(action->text())
                                          : action->objectName();
}

// Where a click can land in a window: its controls, and the items of its menu bar or menu.
// Buttons and menu items are listed three times: they are what a user clicks most.
std::vector<Walk::Spot> Walk::spots(QWidget* window) const {
    std::vector<Spot> found;
    const auto add = [&found](int times, const Spot& spot) {
        found.insert(found.end(), times, spot);
    };
    const auto addActions = [&](QWidget* w, const QList<QAction*>& actions,
                                const std::function<QRect(QAction*)>& geometry) {
        for (QAction* a : actions) {
            if (a->isVisible() && !a->isSeparator() && !geometry(a).isEmpty()) {
                add(3, {w, geometry(a), NameOf(w) + '/' + NameOf(a)});
            }
        }
    };
    if (auto* menu = qobject_cast<QMenu*>(window)) {
        addActions(menu, menu->actions(), [menu](QAction* a) { return menu->actionGeometry(a); });
        return found;
    }
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisibleTo(window) || w->rect().isEmpty()) {
            continue;
        }
        if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            addActions(bar, bar->actions(), [bar](QAction* a) { return bar->actionGeometry(a); });
        } else if (qobject_cast<QAbstractButton*>(w)) {
            add(3, {w, w->rect(), NameOf(w)});
        } else if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractScrollArea*>(w) ||
                   qobject_cast<QLabel*>(w) || w == m_graph.Chart1) {
            add(1, {w, w->rect(), NameOf(w)});
        }
    }
    return found;
}

QPoint Walk::somewhere(const QRect& rect) {
    return {rect.left() + m_dice.Below(rect.width()), rect.top() + m_dice.Below(rect.height())};
}

QString Walk::textFor(const QWidget* field) {
    if (m_dice.Chance(10)) {
        return m_dice.Chance(50) ? Formula(m_dice) : Junk(m_dice, 30);
    }
    const QString window = field->window()->objectName();
    const QString name = window + '/' + field->objectName();
    if (name == QStringLiteral("Form1/Memo1")) {
        return Formula(m_dice);
    }
    if (name == QStringLiteral("Form1/Edit1")) {
        return m_dice.Pick(kXValues);
    }
    if (name == QStringLiteral("Form1/Edit3")) {
        return m_dice.Pick(kDigitCounts);
    }
    if (name == QStringLiteral("Graf/Edit2") || name == QStringLiteral("Graf/Edit3")) {
        return m_dice.Pick(kIntervalEnds);
    }
    if (name == QStringLiteral("Form2/Edit1")) {
        return m_dice.Pick(kTolerances);
    }
    if (window == QStringLiteral("FileDialog")) {
        return m_dice.Pick(m_fileNames);
    }
    return Junk(m_dice, 40);
}

// ---- Choosing and making an action ---------------------------------------------------------

void Walk::act() {
    if (!m_calculator.isVisible() && QApplication::activeModalWidget() == nullptr) {
        JournalAction("start the program again");
        m_calculator.show();
        Hands::Activate(&m_calculator);
        return;
    }
    static const std::vector<Choice> calculator = {
        {30, &Walk::clickControl},  {30, &Walk::fillField}, {4, &Walk::typeJunk},
        {10, &Walk::pressKey},      {3, &Walk::paste},      {2, &Walk::resizeWindow},
        {5, &Walk::activateWindow}, {1, &Walk::closeWindow}};
    static const std::vector<Choice> graph = {
        {20, &Walk::clickControl}, {20, &Walk::fillField},     {25, &Walk::chartGesture},
        {8, &Walk::rightClick},    {8, &Walk::pressKey},       {3, &Walk::typeJunk},
        {6, &Walk::resizeWindow},  {6, &Walk::activateWindow}, {3, &Walk::closeWindow}};
    static const std::vector<Choice> tolerance = {
        {35, &Walk::clickControl},  {35, &Walk::fillField},  {15, &Walk::pressKey},
        {8, &Walk::activateWindow}, {4, &Walk::closeWindow}, {3, &Walk::resizeWindow}};
    static const std::vector<Choice> box = {{40, &Walk::clickControl},   {20, &Walk::pressKey},
                                            {12, &Walk::activateWindow}, {8, &Walk::closeWindow},
                                            {5, &Walk::resizeWindow},    {5, &Walk::chartGesture},
                                            {5, &Walk::typeJunk},        {5, &Walk::fillField}};
    static const std::vector<Choice> fileBox = {{40, &Walk::fillField},
                                                {30, &Walk::clickControl},
                                                {20, &Walk::pressKey},
                                                {5, &Walk::activateWindow},
                                                {5, &Walk::closeWindow}};
    static const std::vector<Choice> help = {{20, &Walk::pressKey},
                                             {40, &Walk::closeWindow},
                                             {20, &Walk::clickControl},
                                             {20, &Walk::activateWindow}};
    static const std::vector<Choice> popup = {
        {60, &Walk::clickControl}, {25, &Walk::pressKey}, {15, &Walk::activateWindow}};

    QWidget* const window = top();
    const std::vector<Choice>* choices = &box;
    switch (placeOf(window)) {
    case Place::Calculator:
        choices = &calculator;
        break;
    case Place::Graph:
        choices = &graph;
        break;
    case Place::Tolerance:
        choices = &tolerance;
        break;
    case Place::Box:
        choices = &box;
        break;
    case Place::FileBox:
        choices = &fileBox;
        break;
    case Place::Help:
        choices = &help;
        break;
    case Place::Popup:
        choices = &popup;
        break;
    }
    int total = 0;
    for (const Choice& c : *choices) {
        total += c.weight;
    }
    int roll = m_dice.Below(total);
    for (const Choice& c : *choices) {
        if ((roll -= c.weight) < 0) {
            (this->*c.act)(window);
            return;
        }
    }
}

void Walk::clickControl(QWidget* window) {
    // Now and then a window the user is not meant to reach: a modal box blocks it.
    if (m_dice.Chance(15)) {
        window = anyWindow(window);
    }
    const std::vector<Spot> found = spots(window);
    if (found.empty()) {
        JournalAction("click " + NameOf(window).toStdString() + ", where nothing is");
        m_hands.Click(window, somewhere(window->rect()));
        return;
    }
    const Spot& spot = m_dice.Pick(found);
    const QPoint at = somewhere(spot.rect.adjusted(1, 1, -1, -1));
    JournalAction("click " + spot.name.toStdString());
    m_hands.Click(spot.widget, at);
}

void Walk::fillField(QWidget* window) {
    std::vector<QWidget*> fields;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* line = qobject_cast<QLineEdit*>(w);
        const auto* memo = qobject_cast<QPlainTextEdit*>(w);
        if (((line && !line->isReadOnly()) || (memo && !memo->isReadOnly())) &&
            w->isVisibleTo(window) && w->isEnabled()) {
            fields.push_back(w);
        }
    }
    if (fields.empty()) {
        clickControl(window);
        return;
    }
    QWidget* field = m_dice.Pick(fields);
    const QString text = textFor(field);
    JournalAction("fill " + NameOf(field).toStdString() + " with «" + text.toStdString() + "»");
    m_hands.Click(field, somewhere(field->rect().adjusted(2, 2, -2, -2)));
    m_memos.Keys(1, std::nullopt, [this] { m_hands.Key(Qt::Key_A, Qt::ControlModifier); });
    m_memos.Keys(int(text.toUcs4().size()), text, [this, &text] { m_hands.Type(text); });
}

// Where the keys go, for the journal.
std::string KeyboardTarget() {
    const QWindow* window = QGuiApplication::focusWindow();
    if (window == nullptr || !window->isVisible()) {
        return " (no window of the program has the keyboard)";
    }
    const QWidget* focus = QApplication::focusWidget();
    return focus ? " into " + NameOf(focus).toStdString() : std::string();
}

void Walk::typeJunk(QWidget*) {
    const QString text = m_dice.Chance(50) ? Formula(m_dice) : Junk(m_dice, 20);
    JournalAction("type «" + text.toStdString() + "»" + KeyboardTarget());
    m_memos.Keys(int(text.toUcs4().size()), text, [this, &text] { m_hands.Type(text); });
}

void Walk::pressKey(QWidget*) {
    struct Key {
        const char* name;
        int key;
        Qt::KeyboardModifiers mods;
        const char* text;
        std::optional<QString> inserted; // into a memo that has the focus
    };
    static const std::vector<Key> keyboard = {
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r", QString(QChar::ParagraphSeparator)},
        {"Esc", Qt::Key_Escape, Qt::NoModifier, "\x1b", std::nullopt},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", std::nullopt},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", std::nullopt},
        {"F1", Qt::Key_F1, Qt::NoModifier, "", std::nullopt},
        {"Alt+F4", Qt::Key_F4, Qt::AltModifier, "", std::nullopt},
        {"Space", Qt::Key_Space, Qt::NoModifier, " ", QStringLiteral(" ")},
        {"Down", Qt::Key_Down, Qt::NoModifier, "", std::nullopt},
    };
    const Key& k = m_dice.Pick(keyboard);
    JournalAction(std::string("key ") + k.name + KeyboardTarget());
    m_memos.Keys(1, k.inserted, [this, &k] {
        if (m_hands.Key(k.key, k.mods, QString::fromLatin1(k.text)) && k.key == Qt::Key_F4 &&
            QGuiApplication::focusWindow() != nullptr &&
            QApplication::activePopupWidget() == nullptr) {
            // The window manager closes the active window; an open pop-up menu holds the
            // keyboard, and the window manager never sees the keys.
            for (QWidget* w : visibleWindows()) {
                if (w->windowHandle() == QGuiApplication::focusWindow()) {
                    Hands::Close(w);
                    break;
                }
            }
        }
    });
}

void Walk::paste(QWidget*) {
    struct Clip {
        int weight;
        std::function<QString()> text;
    };
    const std::vector<Clip> clips = {
        {40, [this] { return Formula(m_dice); }},
        {30, [this] { return Junk(m_dice, 80); }},
        {12, [] { return Lines('7', 99, 600); }}, // 60,000 characters: within the limit
        {12, [] { return Lines('1', 99, 700); }}, // 70,000: beyond it
        {6, [] { return QString(1 << 20, QLatin1Char('x')); }}, // one line of 1 MB
    };
    int roll = m_dice.Below(100);
    QString text;
    for (const Clip& clip : clips) {
        if ((roll -= clip.weight) < 0) {
            text = clip.text();
            break;
        }
    }
    JournalAction("paste " +
                  (text.size() > 100 ? std::to_string(text.size()) + " characters"
                                     : "«" + text.toStdString() + "»") +
                  KeyboardTarget());
    QGuiApplication::clipboard()->setText(text);
    QString inserted = text;
    inserted.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
    m_memos.Keys(1, inserted, [this] { m_hands.Key(Qt::Key_V, Qt::ControlModifier); });
}

void Walk::chartGesture(QWidget* window) {
    if (!m_graph.isVisible()) {
        clickControl(window);
        return;
    }
    TChart* chart = m_graph.Chart1;
    // Ends may lie beyond the chart: a drag goes on outside it.
    const QRect reach = chart->rect().adjusted(-chart->width() / 4, -chart->height() / 4,
                                               chart->width() / 4, chart->height() / 4);
    const QPoint from = somewhere(chart->rect());
    const QPoint to = somewhere(reach);
    const auto where = [](QPoint p) {
        return "(" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")";
    };
    switch (m_dice.Below(5)) {
    case 0:
    case 1:
        JournalAction("left drag on the chart " + where(from) + " to " + where(to));
        m_hands.Drag(chart, from, to, Qt::LeftButton);
        break;
    case 2:
        JournalAction("right drag on the chart " + where(from) + " to " + where(to));
        m_hands.Drag(chart, from, to, Qt::RightButton);
        break;
    case 3: {
        const int steps = m_dice.Chance(50) ? 1 + m_dice.Below(3) : -1 - m_dice.Below(3);
        static const std::vector<Qt::KeyboardModifiers> mods = {
            Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier};
        JournalAction("wheel " + std::to_string(steps) + " on the chart at " + where(from));
        m_hands.Wheel(chart, from, steps, m_dice.Pick(mods));
        break;
    }
    default:
        JournalAction("click the chart at " + where(from));
        m_hands.Click(chart, from);
        break;
    }
}

void Walk::rightClick(QWidget* window) {
    const QPoint at = somewhere(window->rect());
    JournalAction("right click " + NameOf(window).toStdString() + " at (" + std::to_string(at.x()) +
                  ", " + std::to_string(at.y()) + ")");
    m_hands.Click(window, at, Qt::RightButton);
}

void Walk::resizeWindow(QWidget* window) {
    static const std::vector<QSize> sizes = {{1, 1},     {1, 300},   {300, 1},
                                             {40, 30},   {120, 90},  {300, 200},
                                             {552, 293}, {700, 400}, {1024, 700}};
    if (m_dice.Chance(30)) {
        window = anyWindow(window);
    }
    const QSize size = m_dice.Pick(sizes);
    JournalAction("resize " + NameOf(window).toStdString() + " to " + std::to_string(size.width()) +
                  " x " + std::to_string(size.height()));
    window->resize(size);
}

void Walk::activateWindow(QWidget*) {
    if (m_dice.Chance(20)) {
        JournalAction("switch to another program");
        Hands::Activate(nullptr);
        return;
    }
    // Any window, also one that a modal box blocks: the platform may hand it the focus.
    QWidget* window = anyWindow(&m_calculator);
    JournalAction("activate " + NameOf(window).toStdString());
    Hands::Activate(window);
}

void Walk::closeWindow(QWidget* window) {
    if (m_dice.Chance(40)) {
        window = anyWindow(window);
    }
    JournalAction("close box of " + NameOf(window).toStdString());
    Hands::Close(window);
}

// ---- The end of a walk: every box answered, every window closed ----------------------------

void Walk::windDown() {
    // A box that comes back however often it is answered is a fault of its own.
    if (++m_windDownSteps > 5000) {
        Fail("the windows cannot be closed: boxes keep coming back");
    }
    QWidget* popup = QApplication::activePopupWidget();
    QWidget* modal = QApplication::activeModalWidget();
    QWidget* help = nullptr;
    for (QWidget* w : visibleWindows()) {
        help = placeOf(w) == Place::Help ? w : help;
    }
    if (popup == nullptr && modal == nullptr && help == nullptr) {
        m_loop->quit();
        return;
    }
    later(0);
    if (popup != nullptr) {
        JournalNote("end: close the menu");
        popup->close();
    } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        // Yes stops a plotting that asks at every point.
        QAbstractButton* answer = box->button(QMessageBox::Yes);
        answer = answer ? answer : box->button(QMessageBox::Ok);
        JournalNote("end: answer the box");
        if (answer) {
            answer->click();
        } else {
            box->reject();
        }
    } else if (modal == &m_dialog) {
        JournalNote("end: cancel the tolerance dialog");
        m_dialog.BitBtn2->click();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && modal != &m_graph) {
        JournalNote("end: cancel " + NameOf(dialog).toStdString());
        dialog->reject();
    } else {
        QWidget* window = modal ? modal : help;
        JournalNote("end: close " + NameOf(window).toStdString());
        window->close();
    }
}

} // namespace

// ---- The test --------------------------------------------------------------------------------

namespace {

// A paint of the chart must take at most 16 ms in an optimised build. The sanitizers and a
// build without optimisation make the same paint slower (only the program's own code: Qt is
// not rebuilt): the walks' longest paints took 6 ms of processor time optimised and up to
// 41 ms in the sanitizers' build without optimisation.
double DefaultPaintBudgetMs() {
    double factor = 1;
#if defined(__SANITIZE_ADDRESS__)
    factor *= 3;
#endif
#if !defined(__OPTIMIZE__)
    factor *= 2;
#endif
    return 16 * factor;
}

double Setting(const char* name, double otherwise) {
    bool ok = false;
    const double value = qEnvironmentVariable(name).toDouble(&ok);
    return ok ? value : otherwise;
}

MonkeyReport RunMonkey(const MonkeyOptions& options, const QString& scratch) {
    RegisterFontSubstitutions();
    InstallCrashReports();
    StartJournal(options.seed, options.verbose, options.checks);
    const Watchdog watchdog(options.freezeSeconds);
    Walk walk(options, scratch);
    return walk.Run();
}

TEST(Monkey, RandomUserActionsKeepTheProgramWhole) {
    MonkeyOptions options;
    options.seed = qEnvironmentVariable("ZORVO_MONKEY_SEED", QStringLiteral("1")).toULongLong();
    options.actions = int(Setting("ZORVO_MONKEY_ACTIONS", options.actions));
    options.paintBudgetMs = Setting("ZORVO_MONKEY_PAINT_MS", DefaultPaintBudgetMs());
    options.freezeSeconds = Setting("ZORVO_MONKEY_FREEZE_S", options.freezeSeconds);
    options.verbose = Setting("ZORVO_MONKEY_VERBOSE", 0) != 0;
    options.checks = Setting("ZORVO_MONKEY_CHECKS", 1) != 0;
    const double seconds = Setting("ZORVO_MONKEY_SECONDS", 0);

    // Closing the calculator window ends a user's session; the walk starts the program again.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QElapsedTimer clock;
    clock.start();
    long total = 0;
    do {
        QTemporaryDir scratch;
        ASSERT_TRUE(scratch.isValid());
        const MonkeyReport report = RunMonkey(options, scratch.path());
        total += report.actions;
        std::printf("monkey: seed %llu: %d actions, %d boxes, %d paints of the chart, the "
                    "longest %.1f ms of processor time (budget %.0f ms), %.1f ms on the clock\n",
                    static_cast<unsigned long long>(options.seed), report.actions, report.boxes,
                    report.paints, report.worstPaintMs, options.paintBudgetMs,
                    report.worstPaintWallMs);
        EXPECT_EQ(report.actions, options.actions);
        ++options.seed;
    } while (clock.elapsed() < seconds * 1000);
    std::printf("monkey: %ld actions in %.0f s\n", total, double(clock.elapsed()) / 1000);
    QGuiApplication::setQuitOnLastWindowClosed(true);
}

} // namespace
