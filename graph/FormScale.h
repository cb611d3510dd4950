#pragma once
// The graph window and the tolerance dialog are laid out in pixels of the density they were
// designed at (120 pixels per inch). These helpers carry that layout to the screen's density.

class QWidget;

// The factor from the design density to the logical density of the form's screen.
double DesignScale(const QWidget* form, int designDpi);
// Scales the client size of `form` and the geometry of every descendant, and the pixel size of
// every font that a widget sets itself (inherited fonts follow their parent), by `factor`.
// Edges are scaled rather than sizes, so neighbouring controls stay flush.
void ScaleForm(QWidget* form, double factor);
// Gives `widget` its own font of the form's family ("MS Sans Serif", substituted at start-up) at
// `pixelSize` pixels of the design density; ScaleForm then carries it to the screen.
void SetDesignFont(QWidget* widget, int pixelSize);
