#include "CommandGate.h"

#include <utility>

CommandGate& CommandGate::Application() {
    static CommandGate gate;
    return gate;
}

bool CommandGate::Run(const std::function<void()>& command) {
    if (m_running) {
        return false;
    }
    struct Ending {
        CommandGate& gate;
        ~Ending() { gate.m_running = false; }
    };
    {
        m_running = true;
        const Ending ending{*this};
        command();
    }
    RunWaitingTasks();
    return true;
}

void CommandGate::WhenIdle(std::function<void()> task) {
    m_waiting.push_back(std::move(task));
    if (!m_running) {
        RunWaitingTasks();
    }
}

void CommandGate::RunWaitingTasks() {
    // A task's own command ends with this call again; the outer call goes on with the list.
    if (m_runningTasks) {
        return;
    }
    m_runningTasks = true;
    struct Ending {
        CommandGate& gate;
        ~Ending() { gate.m_runningTasks = false; }
    } ending{*this};
    // The list ends: each task is an activation's owed work, which a window keeps at most
    // once, and the work of a plotting owes nothing new (its boxes do not plot again).
    while (!m_running && !m_waiting.empty()) {
        const std::function<void()> task = std::move(m_waiting.front());
        m_waiting.pop_front();
        task();
    }
}
