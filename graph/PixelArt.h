#pragma once
// Button pictures drawn pixel by pixel, at the resolution of the screen they are shown on.

#include <QIcon>
#include <QImage>

// The picture `factor` (2 or 3) times as large by the Scale2x and Scale3x rules: where two
// neighbours of a pixel that touch the same corner have one colour, that corner takes it, so a
// diagonal edge becomes a finer staircase instead of the blocks of a plain enlargement. Flat
// areas and straight edges stay as they are. Any other factor gives the picture unchanged.
QImage ScalePixelArt(const QImage& picture, int factor);

// An icon of a picture and its greyed variant: the pictures themselves where a logical pixel
// is a device pixel, and enlarged by 2 and 3 (with that device pixel ratio) for denser
// screens, from which Qt takes the one that fits.
QIcon PixelArtIcon(const QImage& normal, const QImage& disabled);
