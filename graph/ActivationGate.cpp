#include "ActivationGate.h"

void ActivationGate::OtherWindowActivated() {
    m_otherWindowSince = true;
    // A window that opens after the quiet period has ended replaces the period's last box as
    // the one the focus comes back from: its closing is a genuine reason to plot.
    if (m_quietDepth == 0) {
        m_echoPending = false;
    }
}

void ActivationGate::Deactivated() {
    if (m_quietDepth > 0) {
        m_lostDuringQuiet = true;
    }
}

bool ActivationGate::Activated() {
    const bool fromOwnWindow = m_otherWindowSince;
    m_otherWindowSince = false;
    if (m_quietDepth > 0) {
        return false; // a box of the running plotting closed
    }
    if (m_echoPending) {
        m_echoPending = false; // the last box of the finished quiet period closed
        return false;
    }
    return fromOwnWindow;
}

void ActivationGate::QuietStarted() {
    if (m_quietDepth++ == 0) {
        m_echoPending = false;
        m_lostDuringQuiet = false;
    }
}

void ActivationGate::QuietFinished(bool activeNow) {
    if (m_quietDepth == 0 || --m_quietDepth > 0) {
        return;
    }
    // Some platforms give the focus back while the period still runs, others only after
    // control has returned to the event loop; in the second case the activation is to come.
    m_echoPending = m_lostDuringQuiet && !activeNow;
}
