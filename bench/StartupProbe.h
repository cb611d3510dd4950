#pragma once
// Start-up timing: the probe build of the program quits after the calculator window's first
// paint and prints the time since the process was started.

#include <QWidget>

// argv[1], when given, is the launch time in seconds since the epoch (bash's $EPOCHREALTIME,
// taken just before exec); without it the time is counted from the windows' creation.
void WatchFirstPaint(QWidget& window, int argc, char** argv);
