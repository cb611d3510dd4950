#pragma once
// What a screen reader finds of a pop-up menu while it is open.

// Registers, once per process, an accessible view of the application that lists each open
// pop-up menu among its windows. Qt names the application as such a menu's parent but leaves
// pop-ups out of the application's windows, so a screen reader that walks down from the
// application never reaches the menu that hangs off no menu bar (the graph window's).
void InstallPopupMenuAccessibility();
