#pragma once
// Painted images read in the chart's own colours, for every test that inspects pixels.

#include "ChartTypes.h"

#include <QImage>

// The colour of pixel (x, y) as the chart names colours (0x00BBGGRR); alpha is ignored.
inline TColor ColorAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return FromRgb(qRed(p), qGreen(p), qBlue(p));
}
