#pragma once
// The application's default error handling. Every event handler runs through RunGuarded: an
// exception that leaves the handler ends it, its message is shown in the error box, and
// control returns to the event loop as if the handler had finished.

#include "Toolkit.h"

#include <functional>
#include <string>

// The error box's text: the message with "." appended when its last character's code is
// above that of "." (so "Disk full" gets one and "Done." or "x = 1" ... "1" does not).
std::string ErrorBoxText(const std::string& message);

// Runs the handler; any exception is shown by toolkit.ShowError and goes no further.
void RunGuarded(Toolkit& toolkit, const std::function<void()>& handler) noexcept;
// How many handlers run now, one inside another: 0 in the event loop. A handler that shows a
// modal window counts while that window's handlers run inside it.
int RunningHandlerDepth();

// The toolkit that the default handling uses where no other is at hand (the application's
// event dispatch); set at start-up.
void SetDefaultToolkit(Toolkit* toolkit);
Toolkit* DefaultToolkit();
// Shows an exception caught elsewhere (inside a catch block) as the default handling does.
void ShowCurrentException(Toolkit& toolkit) noexcept;
