#pragma once
// The pictures of the calculator window's buttons, drawn pixel by pixel: a normal image and a
// greyed one for the disabled state, 16 × 16 each.

#include <QIcon>
#include <QImage>

QImage CalculateGlyph(); // "Посчитать": a pocket calculator
QImage ClearGlyph();     // "Очистить": an eraser
QImage CloseGlyph();     // "Выйти": a door with an arrow leading out
// The disabled look of a glyph: its shape embossed in white and grey.
QImage DisabledGlyph(const QImage& glyph);
// Both images as one icon, drawn at the screen's resolution (PixelArtIcon).
QIcon GlyphIcon(const QImage& glyph);
