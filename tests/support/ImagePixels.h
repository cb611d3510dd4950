#pragma once
// Painted images read in the chart's own colours, for every test that inspects pixels.

#include "ChartTypes.h"

#include <QImage>

#include <cstddef>
#include <set>

// The colour of pixel (x, y) as the chart names colours (0x00BBGGRR); alpha is ignored.
inline TColor ColorAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return FromRgb(qRed(p), qGreen(p), qBlue(p));
}

// The distinct pixels of an image as Qt reads them, alpha included (0xAARRGGBB): what an
// icon's pictures are made of.
inline std::set<QRgb> PixelsOf(const QImage& image) {
    std::set<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.insert(image.pixel(x, y));
    return pixels;
}

// How many pixels of an image are `pixel` (0xAARRGGBB).
inline std::size_t CountOf(const QImage& image, QRgb pixel) {
    std::size_t count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == pixel ? 1 : 0;
    return count;
}
