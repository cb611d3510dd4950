#include "MonkeySupport.h"

#include "Chart1.h"
#include "TChart.h"
#include "TChartAxis.h"
#include "TLineSeries.h"
#include "zorvo3.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
#include <QWindow>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <time.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// ---- The journal -----------------------------------------------------------------------------

namespace {

// The watchdog thread and the crash handlers read the journal too: every access holds the lock.
struct Journal {
    std::mutex mutex;
    std::uint64_t seed = 0;
    bool verbose = false;
    bool checks = true;
    int actions = 0;
    std::vector<std::string> lines;
    std::string program;
    std::atomic<long> progress{0};

    void add(const std::string& line) {
        const std::lock_guard lock(mutex);
        lines.push_back(line);
        ++progress;
        if (verbose) {
            std::fprintf(stderr, "monkey: %s\n", line.c_str());
        }
    }
};

Journal g_journal; // one walk at a time; the crash handlers reach it here

// Also called from the crash handlers, where the lock may be held by the thread that crashed.
void dump(const std::string& why) noexcept {
    std::unique_lock lock(g_journal.mutex, std::defer_lock);
    (void)lock.try_lock();
    const auto seed = static_cast<unsigned long long>(g_journal.seed);
    std::fprintf(stderr,
                 "\nmonkey: FAILED: %s\nmonkey: seed %llu, after %d actions\n"
                 "monkey: replay: ZORVO_MONKEY_SEED=%llu ZORVO_MONKEY_ACTIONS=%d %s\n"
                 "monkey: the actions (the boxes they brought up indented):\n",
                 why.c_str(), seed, g_journal.actions, seed, g_journal.actions,
                 g_journal.program.c_str());
    for (const std::string& line : g_journal.lines) {
        std::fprintf(stderr, "  %s\n", line.c_str());
    }
    std::fflush(stderr);
}

} // namespace

void StartJournal(std::uint64_t seed, bool verbose, bool checks) {
    const std::lock_guard lock(g_journal.mutex);
    g_journal.seed = seed;
    g_journal.verbose = verbose;
    g_journal.checks = checks;
    g_journal.actions = 0;
    g_journal.lines.clear();
    g_journal.program = QCoreApplication::applicationFilePath().toStdString();
}

void JournalAction(const std::string& line) {
    g_journal.add("#" + std::to_string(g_journal.actions + 1) + " " + line);
    ++g_journal.actions;
}

void JournalNote(const std::string& line) {
    g_journal.add("      " + line);
}

int JournalActions() {
    return g_journal.actions;
}

void Alive() {
    ++g_journal.progress;
}

void Fail(const std::string& why) {
    dump(why);
    std::_Exit(1);
}

void Broken(const std::string& why) {
    if (g_journal.checks) {
        Fail(why);
    }
}

void InstallCrashReports() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { dump("a sanitizer report (above)"); });
#else
    for (const int number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        std::signal(number, [](int received) {
            dump("signal " + std::to_string(received));
            std::signal(received, SIG_DFL);
            std::raise(received);
        });
    }
#endif
}

Watchdog::Watchdog(double seconds) : m_thread([this, seconds] { watch(seconds); }) {}

Watchdog::~Watchdog() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void Watchdog::watch(double seconds) {
    using Clock = std::chrono::steady_clock;
    long seen = g_journal.progress;
    Clock::time_point since = Clock::now();
    std::unique_lock lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(250), [this] { return m_stop; })) {
        const long now = g_journal.progress;
        if (now != seen) {
            seen = now;
            since = Clock::now();
        } else if (std::chrono::duration<double>(Clock::now() - since).count() > seconds) {
            Fail("frozen: no action and no paint for " + std::to_string(int(seconds)) + " s");
        }
    }
}

// ---- Chance and texts ------------------------------------------------------------------------

namespace {
// clang-format off
const Texts kKnownFormulas = {"1/x+1;", "1/(x-0.00000004);", "x*x-2;", "SQRT(x);", "LN(x);",
                              "1/(x-x);", "EXP(x*2000);", "TAN(x*1E18);", "SIN(x)*x;", "x;",
                              "RANDOM(x);", "0.5^(x*20000);", "1E30*x;", "x^0.5;", "-x;", "7;",
                              "LN(x)+1;", "SQRT(x)*2-1;"};
const Texts kNumbers = {"0", "1", "2", "0.5", "10", "399", "1E30", "1E-30", "1E4000",
                        "0.00000004", "20000", "1E18", "3.14159", "7"};
const Texts kOperators = {"+", "-", "*", "/", "^"};
const Texts kJunk = {"Х", "×", "\u00A0", ";", "(", ")", "^", ".", "E", " ", "😀", "中", "1E99999",
                     "ſ", "f(x)=", "\\", "%", "FOO(", "x x", "ё"};
// clang-format on

// An expression of the formula grammar, at most `depth` operators or calls deep.
QString expression(Dice& dice, int depth) {
    if (depth <= 0 || dice.Chance(30)) {
        return dice.Chance(50) ? QStringLiteral("x") : dice.Pick(kNumbers);
    }
    switch (dice.Below(4)) {
    case 0:
        return expression(dice, depth - 1) + dice.Pick(kOperators) + expression(dice, depth - 1);
    case 1: {
        const auto name = FunctionNames[std::size_t(dice.Below(int(FunctionNames.size())))];
        const QString call = QString::fromLatin1(name.data(), qsizetype(name.size()));
        return (dice.Chance(20) ? call.toLower() : call) + '(' + expression(dice, depth - 1) + ')';
    }
    case 2:
        return '(' + expression(dice, depth - 1) + ')';
    default:
        return '-' + expression(dice, depth - 1);
    }
}
} // namespace

// clang-format off
const Texts kXValues = {"1", "0", "-1", "0.5", "2", "1E30", "1E4933", "-1E5120", "abc", "", "1E",
                        " 1", "0,5", "1E-320", "99999999999999999999999", "-0"};
const Texts kDigitCounts = {"3", "0", "15", "18", "-1", "65536", "4294967296", "abc", "", "99999"};
const Texts kIntervalEnds = {"-10", "1", "0", "399", "2", "-1E308", "1E308", "1E309", "1E4933",
                             "-1E5120", "1.0000000000000000001", "1E18", "1000000000000000001",
                             "-1E-320", "1E-320", "0.00000004", "abc", "", "1E", "5", "1,5"};
const Texts kTolerances = {"0.0000001", "1E-7", "0.001", "1", "0", "-1", "1E-4000", "abc", "",
                           "1E5000", "1E4932", " ", "0,001"};
// clang-format on

QString Formula(Dice& dice) {
    QString text = dice.Chance(30) ? dice.Pick(kKnownFormulas) : expression(dice, 3) + ';';
    if (dice.Chance(20)) {
        for (int n = 1 + dice.Below(3); n > 0; --n) {
            int at = dice.Below(int(text.size()) + 1);
            // Never between the two halves of a character outside the basic plane.
            at += at > 0 && text[at - 1].isHighSurrogate() ? 1 : 0;
            text.insert(at, dice.Pick(kJunk));
        }
    }
    return text;
}

QString Junk(Dice& dice, int longest) {
    QString text;
    for (int n = dice.Below(longest + 1); n > 0; --n) {
        text += dice.Chance(70) ? QString(QChar(u'a' + dice.Below(26))) : dice.Pick(kJunk);
    }
    return text;
}

QString Lines(char c, int width, int count) {
    return (QString(width, QLatin1Char(c)) + '\n').repeated(count);
}

// ---- The hands -------------------------------------------------------------------------------

using Sync = QWindowSystemInterface::SynchronousDelivery;

void Hands::mouse(QWidget* target, QPoint at, Qt::MouseButtons held, Qt::MouseButton button,
                  QEvent::Type type) {
    QWidget* top = target->window();
    if (QWindow* window = top->windowHandle()) {
        const QPointF local = target->mapTo(top, at);
        QWindowSystemInterface::handleMouseEvent<Sync>(
            window, tick(), local, window->mapToGlobal(local), held, button, type);
    }
}

void Hands::press(QWidget* target, QPoint at, Qt::MouseButton button) {
    // A window manager that focuses on click activates the window first, also one that a
    // modal box blocks; a click while a pop-up menu is open only closes the menu.
    const QPointer<QWidget> alive(target);
    QWindow* window = target->window()->windowHandle();
    if (window && window != QGuiApplication::focusWindow() &&
        QApplication::activePopupWidget() == nullptr) {
        QWindowSystemInterface::handleWindowActivated<Sync>(window, Qt::ActiveWindowFocusReason);
    }
    if (alive) {
        mouse(target, at, button, button, QEvent::MouseButtonPress);
    }
}

void Hands::Click(QWidget* target, QPoint at, Qt::MouseButton button) {
    const QPointer<QWidget> alive(target);
    press(target, at, button);
    if (alive) {
        mouse(target, at, Qt::NoButton, button, QEvent::MouseButtonRelease);
    }
}

void Hands::Drag(QWidget* target, QPoint from, QPoint to, Qt::MouseButton button) {
    const QPointer<QWidget> alive(target);
    press(target, from, button);
    for (int step = 1; step <= 3 && alive; ++step) {
        mouse(target, from + (to - from) * step / 3, button, Qt::NoButton, QEvent::MouseMove);
    }
    if (alive) {
        mouse(target, to, Qt::NoButton, button, QEvent::MouseButtonRelease);
    }
}

void Hands::Wheel(QWidget* target, QPoint at, int steps, Qt::KeyboardModifiers mods) {
    QWidget* top = target->window();
    if (QWindow* window = top->windowHandle()) {
        const QPointF local = target->mapTo(top, at);
        QWindowSystemInterface::handleWheelEvent(window, tick(), local, window->mapToGlobal(local),
                                                 QPoint(), QPoint(0, 120 * steps), mods);
    }
}

bool Hands::Key(int key, Qt::KeyboardModifiers mods, const QString& text) {
    // A window that has been closed keeps Qt's keyboard focus on this platform until another
    // is activated; a display server gives its keys to no one.
    const QPointer<QWindow> window = QGuiApplication::focusWindow();
    if (!window || !window->isVisible()) {
        return false;
    }
    QWindowSystemInterface::handleKeyEvent<Sync>(window, tick(), QEvent::KeyPress, key, mods, text);
    if (window) {
        QWindowSystemInterface::handleKeyEvent<Sync>(window, tick(), QEvent::KeyRelease, key, mods,
                                                     text);
    }
    return true;
}

void Hands::Type(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString one(text[i]);
        if (text[i].isHighSurrogate() && i + 1 < text.size()) {
            one += text[++i];
        }
        // The key code a keyboard gives: the upper-case character, Space for a blank.
        const int key = one.size() > 1   ? int(Qt::Key_unknown)
                        : one[0] == u' ' ? int(Qt::Key_Space)
                                         : int(one[0].toUpper().unicode());
        Key(key, Qt::NoModifier, one);
    }
}

void Hands::Close(QWidget* window) {
    if (QWindow* handle = window->windowHandle()) {
        QWindowSystemInterface::handleCloseEvent<Sync>(handle);
    }
}

void Hands::Activate(QWidget* window) {
    // Queued, as a window manager's focus change comes.
    QWindowSystemInterface::handleWindowActivated(window ? window->windowHandle() : nullptr,
                                                  Qt::ActiveWindowFocusReason);
}

// Time stamps move on as a user's would; two clicks in one spot may make a double click.
ulong Hands::tick() {
    return m_time += 30 + ulong(m_jitter++ % 7) * 90;
}

// ---- The toolkit -----------------------------------------------------------------------------

void MonkeyToolkit::ShowMessage(const std::string& text) {
    onBox("message", text);
    QtToolkit::ShowMessage(text);
}

bool MonkeyToolkit::Confirm(const std::string& text) {
    onBox("question", text);
    const bool yes = QtToolkit::Confirm(text);
    JournalNote(yes ? "answered Yes" : "answered No");
    return yes;
}

void MonkeyToolkit::ShowError(const std::string& text) {
    onBox("error", text);
    QtToolkit::ShowError(text);
}

std::optional<std::string> MonkeyToolkit::OpenFileName(const FileDialogOptions&) {
    return askFileName(false);
}

std::optional<std::string> MonkeyToolkit::SaveFileName(const FileDialogOptions&) {
    return askFileName(true);
}

std::optional<std::string> MonkeyToolkit::askFileName(bool saving) {
    onBox(saving ? "save dialog" : "open dialog", {});
    QInputDialog dialog;
    dialog.setObjectName(QStringLiteral("FileDialog"));
    dialog.setProperty(kForeignWindowProperty, true);
    dialog.setLabelText(QStringLiteral("Имя файла:"));
    // As the toolkit's file dialogs do: the focus goes back to the window that asked.
    const QPointer<QWidget> owner = QApplication::activeWindow();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (owner && owner->isVisible()) {
        owner->activateWindow();
    }
    if (!accepted) {
        return std::nullopt;
    }
    // Whatever was typed stays inside the scratch folder (only /dev/null may be opened): a
    // walk must never write elsewhere.
    QString path = dialog.textValue();
    const bool inside = path.startsWith(m_scratch + '/') && !path.contains(QStringLiteral(".."));
    if (!inside && !(path == QStringLiteral("/dev/null") && !saving)) {
        QString name = QFileInfo(path).fileName();
        name.replace(QStringLiteral(".."), QStringLiteral("__"));
        path = m_scratch + '/' + name;
    }
    return QFile::encodeName(path).toStdString();
}

// ---- The memos -------------------------------------------------------------------------------

namespace {

QString textOf(const QPlainTextEdit* memo) {
    return memo->document()->toRawText();
}

std::string describe(const QPlainTextEdit* memo, const QString& expected, const char* what) {
    const QString actual = textOf(memo);
    qsizetype at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) {
        ++at;
    }
    return QStringLiteral("%1 %2: it holds %3 characters, %4 were expected; they differ from "
                          "character %5 on: «%6» instead of «%7»")
        .arg(memo->objectName(), QString::fromLatin1(what))
        .arg(actual.size())
        .arg(expected.size())
        .arg(at)
        .arg(actual.mid(at, 40), expected.mid(at, 40))
        .toStdString();
}

} // namespace

void MemoWatch::Watch(QPlainTextEdit* memo) {
    m_memos.push_back({memo, textOf(memo)});
    memo->installEventFilter(this);
}

// A memo that received all `count` keys holds its text with `inserted` in place of its
// selection; one that received none, and every memo when the keys insert nothing, is
// unchanged. When other actions ran inside the keys' handling (in a box they opened), there
// is nothing left to expect.
void MemoWatch::Keys(int count, const std::optional<QString>& inserted,
                     const std::function<void()>& send) {
    for (Memo& m : m_memos) {
        m.received = 0;
        const QTextCursor cursor = m.memo->textCursor();
        m.selectionStart = cursor.selectionStart();
        m.selectionEnd = cursor.selectionEnd();
    }
    m_pending = Expectation{count, inserted};
    const int actionsBefore = JournalActions();
    ++m_busy;
    send();
    --m_busy;
    if (m_pending && JournalActions() == actionsBefore) {
        verify();
    }
    Resync();
}

void MemoWatch::BoxOpens() {
    if (m_pending) {
        verify();
    }
    m_pending.reset();
}

void MemoWatch::Resync() {
    for (Memo& m : m_memos) {
        m.model = textOf(m.memo);
    }
    m_pending.reset();
}

void MemoWatch::Check() const {
    if (m_busy > 0) {
        return;
    }
    for (const Memo& m : m_memos) {
        if (textOf(m.memo) != m.model) {
            Broken(describe(m.memo, m.model, "changed although nothing was typed into it"));
        }
    }
}

bool MemoWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        for (Memo& m : m_memos) {
            m.received += m.memo == watched ? 1 : 0;
        }
    }
    return false;
}

void MemoWatch::verify() const {
    for (const Memo& m : m_memos) {
        QString expected = m.model;
        if (m.received > 0 && m_pending->inserted) {
            if (m.received != m_pending->count) {
                continue; // the focus moved part-way
            }
            const QString after =
                m.model.left(m.selectionStart) + *m_pending->inserted + m.model.mid(m.selectionEnd);
            // The limit may count a line break as the two characters it is in a file: close
            // to the limit either verdict is right.
            const qsizetype least = after.size();
            const qsizetype most = least + after.count(QChar::ParagraphSeparator);
            if (most > kLimit - 16 && least <= kLimit + 16) {
                continue;
            }
            expected = least > kLimit ? m.model : after;
        }
        if (textOf(m.memo) != expected) {
            Broken(describe(m.memo, expected, "does not hold what was typed"));
        }
    }
}

// ---- The paints ------------------------------------------------------------------------------

namespace {
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}
} // namespace

PaintClock::PaintClock(TGraf& graph, double budgetMs) : m_graph(graph), m_budgetMs(budgetMs) {
    graph.Chart1->installEventFilter(this);
}

bool PaintClock::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Paint || m_inside) {
        return false;
    }
    // The paint runs here, between the clock's readings; the event is then done.
    m_inside = true;
    QElapsedTimer wall;
    wall.start();
    const double start = threadMilliseconds();
    watched->event(event);
    const double ms = threadMilliseconds() - start;
    m_inside = false;
    ++paints;
    Alive();
    worstMs = std::max(worstMs, ms);
    worstWallMs = std::max(worstWallMs, double(wall.nsecsElapsed()) / 1e6);
    if (ms > m_budgetMs) {
        const TChart& chart = *m_graph.Chart1;
        const TChartAxis& x = *chart.BottomAxis();
        const TChartAxis& y = *chart.LeftAxis();
        const TLineSeries& series = *m_graph.Series1;
        Broken(QStringLiteral("a paint of the chart took %1 ms, over the budget of %2 ms (chart "
                              "%3 x %4; %5 points, x %6 .. %7, y %8 .. %9; axes x %10 .. %11, "
                              "y %12 .. %13)")
                   .arg(ms, 0, 'f', 1)
                   .arg(m_budgetMs)
                   .arg(chart.width())
                   .arg(chart.height())
                   .arg(series.Count())
                   .arg(series.Count() ? series.LowestX() : 0, 0, 'g', 17)
                   .arg(series.Count() ? series.HighestX() : 0, 0, 'g', 17)
                   .arg(series.Count() ? series.LowestY() : 0, 0, 'g', 17)
                   .arg(series.Count() ? series.HighestY() : 0, 0, 'g', 17)
                   .arg(x.ActualMinimum, 0, 'g', 17)
                   .arg(x.ActualMaximum, 0, 'g', 17)
                   .arg(y.ActualMinimum, 0, 'g', 17)
                   .arg(y.ActualMaximum, 0, 'g', 17)
                   .toStdString());
    }
    return true;
}
