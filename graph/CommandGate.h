#pragma once
// One command at a time, for the whole application.
//
// A command is what a click, a menu item, a key or a window's activation starts in either
// window. Its boxes (messages, the question, the tolerance dialog, the error box) run nested
// event loops, and whatever arrives there would otherwise start a second command inside the
// first: a plotting would parse a new tree while the solving still evaluates the old one.
// So every handler entry of both windows runs through the one gate: a command that arrives
// while another runs is refused, and work owed to an activation waits until the running
// command has returned. The gate lives with the graph window because both windows' libraries
// link this one.
//
// User-interface thread only.

#include <deque>
#include <functional>

class CommandGate {
public:
    // The application's gate.
    static CommandGate& Application();

    // Runs `command` unless a command is running; true when it ran. The running state ends
    // also when the command raises (the exception goes on to the caller), and then the work
    // that waited for it runs.
    bool Run(const std::function<void()>& command);
    bool Running() const { return m_running; }

    // Runs `task` once no command runs: at once when none does, otherwise right after the
    // running one has returned, in the order of the calls. A task runs its own commands
    // through Run.
    void WhenIdle(std::function<void()> task);

private:
    void RunWaitingTasks();

    bool m_running = false;
    bool m_runningTasks = false;
    std::deque<std::function<void()>> m_waiting;
};
