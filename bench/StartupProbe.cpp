#include "StartupProbe.h"

#include "Program.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

double nowSeconds() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(QObject* parent, double start) : QObject(parent), m_start(start) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // Let the paint finish, then report and leave.
            QTimer::singleShot(0, qApp, [start = m_start] {
                std::printf("first paint after %.2f ms\n", (nowSeconds() - start) * 1000.0);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    double m_start;
    bool m_done = false;
};

} // namespace

void WatchFirstPaint(QWidget& window, double startSeconds) {
    window.installEventFilter(new FirstPaintWatcher(&window, startSeconds));
}

// Usage: Zorvo_3_startup_probe [launch time [formula file]]. The launch time is in seconds
// since the epoch (bash's $EPOCHREALTIME, taken just before exec); without it the time is
// counted from here. What follows it is the program's own command line.
int main(int argc, char** argv) {
    double start = nowSeconds();
    if (argc > 1) {
        start = std::strtod(argv[1], nullptr);
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    return RunProgram(argc, argv, [start](QWidget& window) { WatchFirstPaint(window, start); });
}
