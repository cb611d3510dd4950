#include "ButtonGlyphs.h"

#include "PixelArt.h"

namespace {

constexpr int GlyphSize = 16;

// The 16 colours of the picture alphabet as 0xRRGGBB; 0 for '.' and anything unknown means
// "transparent" and is told apart by the second member.
struct PaletteEntry {
    char Letter;
    QRgb Rgb;
};
constexpr PaletteEntry Palette[] = {
    {'k', 0x000000}, {'r', 0x800000}, {'g', 0x008000}, {'o', 0x808000},
    {'n', 0x000080}, {'p', 0x800080}, {'t', 0x008080}, {'d', 0x808080},
    {'s', 0xC0C0C0}, {'R', 0xFF0000}, {'G', 0x00FF00}, {'Y', 0xFFFF00},
    {'B', 0x0000FF}, {'M', 0xFF00FF}, {'C', 0x00FFFF}, {'W', 0xFFFFFF},
};

bool ColourOf(char letter, QRgb& rgb) {
    for (const PaletteEntry& entry : Palette) {
        if (entry.Letter == letter) {
            rgb = entry.Rgb;
            return true;
        }
    }
    return false;
}

// Dark pixels carry the shape of a greyed picture; light ones (yellow, white, silver...)
// vanish, as they would against the button face.
bool IsDark(QRgb rgb) {
    return qGray(rgb) < 160;
}

} // namespace

QImage ButtonBitmap(const GlyphRows& rows) {
    QImage image(2 * GlyphSize, GlyphSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < GlyphSize; ++y) {
        const char* row = rows[std::size_t(y)];
        for (int x = 0; x < GlyphSize && row[x] != '\0'; ++x) {
            QRgb rgb = 0;
            if (ColourOf(row[x], rgb)) {
                image.setPixel(x, y, qRgb(qRed(rgb), qGreen(rgb), qBlue(rgb)));
            }
        }
    }
    // The greyed image is embossed: every dark pixel becomes gray with a white highlight one
    // pixel down and to the right. Highlights first, so that gray wins where they overlap.
    const QRgb highlight = qRgb(255, 255, 255);
    const QRgb shade = qRgb(128, 128, 128);
    for (int pass = 0; pass < 2; ++pass) {
        for (int y = 0; y < GlyphSize; ++y) {
            for (int x = 0; x < GlyphSize; ++x) {
                const QRgb pixel = image.pixel(x, y);
                if (qAlpha(pixel) == 0 || !IsDark(pixel)) {
                    continue;
                }
                if (pass == 0) {
                    if (x + 1 < GlyphSize && y + 1 < GlyphSize) {
                        image.setPixel(GlyphSize + x + 1, y + 1, highlight);
                    }
                } else {
                    image.setPixel(GlyphSize + x, y, shade);
                }
            }
        }
    }
    return image;
}

QIcon ButtonIcon(const GlyphRows& rows) {
    const QImage bitmap = ButtonBitmap(rows);
    return PixelArtIcon(bitmap.copy(0, 0, GlyphSize, GlyphSize),
                        bitmap.copy(GlyphSize, 0, GlyphSize, GlyphSize));
}

namespace SpeedButtonGlyphs {

// clang-format off
const GlyphRows Plot = {
    ".....kkkkk......",
    "...kkkGkRkkk....",
    "..kkGGGkRRRkk...",
    ".kkGGGGkRRRRkk..",
    ".kGGGGGkRRRRRk..",
    "kkGGGGGkRRRRRkk.",
    "kGGGGGGkRRRRRRk.",
    "kkkkkkkkkkkkkkk.",
    "kBBBBBBkYYYYYYk.",
    "kkBBBBBkYYYYYkk.",
    ".kBBBBBkYYYYYk..",
    ".kkBBBBkYYYYkk..",
    "..kkBBBkYYYkk...",
    "...kkkBkYkkk....",
    ".....kkkkk......",
    "................",
};

const GlyphRows Clear = {
    "..............kk",
    ".............kYk",
    "............kYYk",
    "...........kYYk.",
    "..........kYYk..",
    ".........kYYk...",
    "........kYYk....",
    ".......kssk.....",
    "......kssk......",
    ".....kRRRk......",
    "....kRRRRk......",
    "...kRRRRk.......",
    "..kRRRRk...k....",
    "..kRRRk..k...k..",
    "..kkkk.k...k...k",
    ".k...k...k..k...",
};

const GlyphRows Solve = {
    "k...............",
    "kk.........RR...",
    "k.........R..R..",
    "k........R....R.",
    "k..RR...R.......",
    "k.R..R.R........",
    "kR....R.........",
    "k.............B.",
    "k............B..",
    "k.B.........B...",
    "k..B.......B....",
    "k...B....BB.....",
    "k....B..B.......",
    "k.....BB........",
    "k..............k",
    "kkkkkkkkkkkkkkkk",
};

const GlyphRows Exit = {
    "ooooooooo.......",
    "odWWWWWdo.......",
    "odWdddWdo...nn..",
    "odWdddWdo...nn..",
    "odWdddWdo.......",
    "odWdddWdo..nnn..",
    "odWdddWdo.nnnnn.",
    "odWdddWkon.nn.nn",
    "odWdddWdo..nn...",
    "odWdddWdo..nnn..",
    "odWdddWdo.nn.nn.",
    "odWdddWdo.n...n.",
    "odWdddWdonn...nn",
    "odWWWWWdo.......",
    "ooooooooo.......",
    "dddddddddddddddd",
};
// clang-format on

} // namespace SpeedButtonGlyphs
