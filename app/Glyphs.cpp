#include "Glyphs.h"

#include "PixelArt.h"

#include <QPainter>
#include <QPolygon>

namespace {

constexpr int kSize = 16;

QImage blankGlyph() {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QImage CalculateGlyph() {
    QImage image = blankGlyph();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(2, 0, 11, 15);
    p.setBrush(QColor(0, 128, 0));
    p.drawRect(4, 2, 7, 3);
    p.setPen(QColor(0, 255, 0));
    p.drawLine(9, 3, 10, 3);
    // Keys: a 3 × 3 grid, the last one red for "=".
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QColor key = (row == 2 && column == 2) ? QColor(255, 0, 0) : QColor(0, 0, 128);
            p.fillRect(4 + column * 3, 7 + row * 3, 2, 2, key);
        }
    }
    return image;
}

QImage ClearGlyph() {
    QImage image = blankGlyph();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0, 0, 0));
    // The eraser lies slanted: a white sleeve and a red rubber end.
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(QPolygon({QPoint(6, 3), QPoint(14, 3), QPoint(10, 10), QPoint(2, 10)}));
    p.setBrush(QColor(255, 0, 0));
    p.drawPolygon(QPolygon({QPoint(2, 10), QPoint(6, 10), QPoint(4, 13), QPoint(0, 13)}));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(5, 14, 15, 14);
    return image;
}

QImage CloseGlyph() {
    QImage image = blankGlyph();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The door frame, and the door standing open.
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(7, 0, 7, 15);
    p.setBrush(QColor(0, 128, 128));
    p.drawPolygon(QPolygon({QPoint(7, 0), QPoint(11, 2), QPoint(11, 15), QPoint(7, 15)}));
    p.setPen(QColor(255, 255, 0));
    p.drawPoint(10, 8);
    // The arrow leading out to the left.
    p.setPen(QColor(0, 128, 0));
    p.drawLine(1, 8, 6, 8);
    p.drawLine(1, 7, 6, 7);
    p.drawLine(2, 6, 2, 9);
    p.drawLine(3, 5, 3, 10);
    return image;
}

QImage DisabledGlyph(const QImage& glyph) {
    QImage image = blankGlyph();
    // Classic greyed glyph: the shape once in white, one pixel down and right, then in grey.
    for (int pass = 0; pass < 2; ++pass) {
        const QColor colour = pass == 0 ? QColor(255, 255, 255) : QColor(128, 128, 128);
        const int offset = pass == 0 ? 1 : 0;
        for (int y = 0; y < kSize; ++y) {
            for (int x = 0; x < kSize; ++x) {
                if (qAlpha(glyph.pixel(x, y)) == 0) {
                    continue;
                }
                const int tx = x + offset;
                const int ty = y + offset;
                if (tx < kSize && ty < kSize) {
                    image.setPixelColor(tx, ty, colour);
                }
            }
        }
    }
    return image;
}

QIcon GlyphIcon(const QImage& glyph) {
    return PixelArtIcon(glyph, DisabledGlyph(glyph));
}
