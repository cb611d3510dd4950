#pragma once
// Start-up timing: the probe runs the program's own start-up, quits after the calculator
// window's first paint and prints the time since the process was started.

#include <QWidget>

// Quits the program once the window has painted for the first time, printing the time since
// `startSeconds` (seconds since the epoch).
void WatchFirstPaint(QWidget& window, double startSeconds);
