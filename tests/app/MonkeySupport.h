#pragma once
// The monkey's tools: the journal of a walk (printed when the walk fails, also on a sanitizer
// report, a crash or a freeze), chance and the texts a user types, hands that deliver input
// as the window system does, the toolkit with real boxes, and the watchers of the memos and
// of the chart's paints.

#include "QtToolkit.h"

#include <QEvent>
#include <QObject>
#include <QPoint>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

class QPlainTextEdit;
class QWidget;
class TGraf;

// ---- The journal -----------------------------------------------------------------------------

// Starts the journal of a walk. With `checks` off, a broken invariant does not end the walk.
void StartJournal(std::uint64_t seed, bool verbose, bool checks);
void JournalAction(const std::string& line); // numbered: one user action
void JournalNote(const std::string& line);   // under the action: a box it brought up
int JournalActions();
// A sign of life for the watchdog: an action or a paint.
void Alive();
// Prints why, the seed, how to replay the walk and the journal; ends the process.
[[noreturn]] void Fail(const std::string& why);
// A broken invariant: Fail, unless the checks are off.
void Broken(const std::string& why);
// From now on a sanitizer report or a crash prints the journal too.
void InstallCrashReports();

// Fails when there has been no sign of life for `seconds`: a loop or a paint that never ends.
class Watchdog {
public:
    explicit Watchdog(double seconds);
    ~Watchdog();

private:
    void watch(double seconds);
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread; // last: starts once the members it uses exist
};

// ---- Chance and texts ------------------------------------------------------------------------

class Dice {
public:
    explicit Dice(std::uint64_t seed) : m_engine(seed) {}
    int Below(int n) { return n <= 1 ? 0 : int(m_engine() % std::uint64_t(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[std::size_t(Below(int(items.size())))];
    }

private:
    std::mt19937_64 m_engine;
};

// Good and hostile texts for the fields.
using Texts = std::vector<QString>;
extern const Texts kXValues, kDigitCounts, kIntervalEnds, kTolerances;
// A formula of the engine's grammar or a known troublemaker, now and then with junk inside.
QString Formula(Dice& dice);
// Up to `longest` letters and odd pieces: Cyrillic, no-break space, emoji, stray operators.
QString Junk(Dice& dice, int longest);
// `count` lines of `width` characters, each ended by LF.
QString Lines(char c, int width, int count);

// ---- The hands -------------------------------------------------------------------------------

// Input through the window system's queue, so that Qt applies modality, grabs, focus and
// shortcuts as it does for a user. Points are in `target`'s coordinates.
class Hands {
public:
    void Click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    void Drag(QWidget* target, QPoint from, QPoint to, Qt::MouseButton button);
    void Wheel(QWidget* target, QPoint at, int steps, Qt::KeyboardModifiers mods);
    // A key pressed and released in the window that has the keyboard; false when no window
    // of the program has it.
    bool Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {});
    // One key per character.
    void Type(const QString& text);
    // The close box of a window (or the window manager closing the active one).
    static void Close(QWidget* window);
    // The window manager gives the focus to `window`, or to another program when it is null.
    static void Activate(QWidget* window);

private:
    void press(QWidget* target, QPoint at, Qt::MouseButton button);
    void mouse(QWidget* target, QPoint at, Qt::MouseButtons held, Qt::MouseButton button,
               QEvent::Type type);
    ulong tick();
    ulong m_time = 100000;
    unsigned m_jitter = 0;
};

// ---- The toolkit -----------------------------------------------------------------------------

// Qt's own boxes, each with its nested loop, so that the walk answers them from inside. The
// file dialogs are a small modal input box where the walk types a name: Qt's file dialog lists
// folders in threads, and the walk would no longer replay. Every name lands in `scratch`.
class MonkeyToolkit : public QtToolkit {
public:
    explicit MonkeyToolkit(const QString& scratch) : m_scratch(scratch) {}
    // Told of every box before it opens: its kind and text.
    std::function<void(const char* kind, const std::string& text)> onBox;

    void ShowMessage(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileDialogOptions& options) override;
    std::optional<std::string> SaveFileName(const FileDialogOptions& options) override;

private:
    std::optional<std::string> askFileName(bool saving);
    QString m_scratch;
};

// ---- The watchers ----------------------------------------------------------------------------

// The memos hold what was typed into them: between actions they do not change, and keys that
// reach a memo change it as typing does (a result beyond the memo's limit is refused whole).
class MemoWatch : public QObject {
public:
    static constexpr qsizetype kLimit = 65535;

    void Watch(QPlainTextEdit* memo);
    // Sends keys that may reach a memo: `count` key presses that insert `inserted` (nothing:
    // keys that change no text). The check comes when a box opens on the way, or at the end.
    void Keys(int count, const std::optional<QString>& inserted, const std::function<void()>& send);
    void BoxOpens();
    // A command has set the memos (cleared them, loaded a file).
    void Resync();
    void Check() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Memo {
        QPlainTextEdit* memo;
        QString model;
        int received = 0;
        int selectionStart = 0;
        int selectionEnd = 0;
    };
    struct Expectation {
        int count;
        std::optional<QString> inserted;
    };
    void verify() const;

    std::vector<Memo> m_memos;
    std::optional<Expectation> m_pending;
    int m_busy = 0;
};

// Times every paint of the graph window's chart in processor time (the compilers of other
// developers on the machine take wall-clock time, not this) and fails one over the budget.
class PaintClock : public QObject {
public:
    PaintClock(TGraf& graph, double budgetMs);
    int paints = 0;
    double worstMs = 0;     // processor time
    double worstWallMs = 0; // wall-clock time, for comparison

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TGraf& m_graph;
    double m_budgetMs;
    bool m_inside = false;
};
