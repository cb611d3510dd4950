#include "PixelArt.h"

#include <QPixmap>

#include <algorithm>
#include <utility>

namespace {

// The pixel at (x, y), the nearest edge pixel outside the picture: a picture's border then
// looks like its continuation, and its outer corners stay square.
QRgb At(const QImage& image, int x, int y) {
    return image.pixel(std::clamp(x, 0, image.width() - 1), std::clamp(y, 0, image.height() - 1));
}

QImage Scale2x(const QImage& in) {
    QImage out(in.width() * 2, in.height() * 2, QImage::Format_ARGB32);
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            // B above, D left, E the pixel, F right, H below.
            const QRgb b = At(in, x, y - 1), d = At(in, x - 1, y), e = At(in, x, y);
            const QRgb f = At(in, x + 1, y), h = At(in, x, y + 1);
            const bool edge = b != h && d != f;
            out.setPixel(2 * x, 2 * y, edge && d == b ? d : e);
            out.setPixel(2 * x + 1, 2 * y, edge && b == f ? f : e);
            out.setPixel(2 * x, 2 * y + 1, edge && d == h ? d : e);
            out.setPixel(2 * x + 1, 2 * y + 1, edge && h == f ? f : e);
        }
    }
    return out;
}

QImage Scale3x(const QImage& in) {
    QImage out(in.width() * 3, in.height() * 3, QImage::Format_ARGB32);
    for (int y = 0; y < in.height(); ++y) {
        for (int x = 0; x < in.width(); ++x) {
            // A B C above, D E F beside, G H I below.
            const QRgb a = At(in, x - 1, y - 1), b = At(in, x, y - 1), c = At(in, x + 1, y - 1);
            const QRgb d = At(in, x - 1, y), e = At(in, x, y), f = At(in, x + 1, y);
            const QRgb g = At(in, x - 1, y + 1), h = At(in, x, y + 1), i = At(in, x + 1, y + 1);
            QRgb block[9] = {e, e, e, e, e, e, e, e, e};
            if (b != h && d != f) {
                block[0] = d == b ? d : e;
                block[1] = (d == b && e != c) || (b == f && e != a) ? b : e;
                block[2] = b == f ? f : e;
                block[3] = (d == b && e != g) || (d == h && e != a) ? d : e;
                block[5] = (b == f && e != i) || (h == f && e != c) ? f : e;
                block[6] = d == h ? d : e;
                block[7] = (d == h && e != i) || (h == f && e != g) ? h : e;
                block[8] = h == f ? f : e;
            }
            for (int k = 0; k < 9; ++k) {
                out.setPixel(3 * x + k % 3, 3 * y + k / 3, block[k]);
            }
        }
    }
    return out;
}

} // namespace

QImage ScalePixelArt(const QImage& picture, int factor) {
    const QImage in = picture.convertToFormat(QImage::Format_ARGB32);
    if (in.isNull() || (factor != 2 && factor != 3)) {
        return in;
    }
    return factor == 2 ? Scale2x(in) : Scale3x(in);
}

QIcon PixelArtIcon(const QImage& normal, const QImage& disabled) {
    QIcon icon;
    for (const int ratio : {1, 2, 3}) {
        for (const auto& [picture, mode] :
             {std::pair{&normal, QIcon::Normal}, std::pair{&disabled, QIcon::Disabled}}) {
            QPixmap pixmap = QPixmap::fromImage(ScalePixelArt(*picture, ratio));
            pixmap.setDevicePixelRatio(ratio);
            icon.addPixmap(pixmap, mode);
        }
    }
    return icon;
}
