#pragma once
// Decides which activations of the graph window plot the graph anew.
//
// The window plots when it is first shown and whenever it becomes active because another
// window of the application closed and gave the focus back to it (a message box, the question,
// the tolerance dialog). A box shown while a plotting runs gives the focus back too when it
// closes; if that started a new plotting, the same box would come back without end. So the
// boxes of a plotting, and the error box of the default error handling, open and close within
// a quiet period whose activations do not plot. Switching to another program and back does
// not plot either.
class ActivationGate {
public:
    // Another window of the application became active (a box, a dialog, the calculator).
    void OtherWindowActivated();
    // The graph window lost the activation.
    void Deactivated();
    // The graph window became active; true when FormActivate is to run.
    bool Activated();

    // A quiet period begins (they nest); it ends with `activeNow` telling whether the window is
    // active again at that moment.
    void QuietStarted();
    void QuietFinished(bool activeNow);

    bool Quiet() const { return m_quietDepth > 0; }

private:
    int m_quietDepth = 0;
    // The window lost the activation during the current quiet period.
    bool m_lostDuringQuiet = false;
    // The window went inactive in a quiet period and was not active again at its end: the next
    // activation is the one that ends the period's last box.
    bool m_echoPending = false;
    // Since the window was last active, another window of the application has been active.
    // True before the first showing, which always plots.
    bool m_otherWindowSince = true;
};
