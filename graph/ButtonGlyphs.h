#pragma once
// Button pictures drawn pixel by pixel in the 16 standard colours. A picture is written as 16
// rows of 16 characters, one per pixel, so that it can be read and edited in the source.

#include <QIcon>
#include <QImage>

#include <array>

// '.' is transparent; the letters name the colours:
// k black, r maroon, g green, o olive, n navy, p purple, t teal, d gray,
// s silver, R red, G lime, Y yellow, B blue, M fuchsia, C aqua, W white.
using GlyphRows = std::array<const char*, 16>;

// The 32 × 16 picture of a button: the normal image on the left, the greyed image for the
// disabled state on the right. An unknown character is drawn transparent.
QImage ButtonBitmap(const GlyphRows& rows);
// An icon whose normal pixmap is the left half of the picture and whose disabled pixmap is
// the right half, drawn at the screen's resolution (PixelArtIcon).
QIcon ButtonIcon(const GlyphRows& rows);

// The pictures of the graph window's speed buttons.
namespace SpeedButtonGlyphs {
extern const GlyphRows Plot;  // a pie in red, green, blue and yellow
extern const GlyphRows Clear; // a brush with a yellow handle and a red tip sweeping black dots
extern const GlyphRows Solve; // a small line chart: a red and a blue line over two axes
extern const GlyphRows Exit;  // a figure walking out of a doorway
} // namespace SpeedButtonGlyphs
