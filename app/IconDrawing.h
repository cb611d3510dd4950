#pragma once
// The one way the program's scalable icon is turned into pixels, shared by the build tool that
// renders the theme's sizes and by the window icon, so that both give the same pixels.

#include <QImage>

class QSvgRenderer;

// The drawing rendered into a transparent square of `size` device pixels, antialiased.
QImage DrawIcon(QSvgRenderer& renderer, int size);
