#include "ScalableIcon.h"

#include "IconDrawing.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

class ScalableIconEngine : public QIconEngine {
public:
    ScalableIconEngine(std::shared_ptr<QSvgRenderer> renderer, std::vector<QImage> drawnAhead)
        : m_renderer(std::move(renderer)), m_drawnAhead(std::move(drawnAhead)) {}

    // QIcon asks for the device size (the logical size times the ratio) and marks the ratio on
    // the result itself.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State /*state*/) override {
        // Beyond the largest size a screen shows an icon at, the picture is only reduced.
        constexpr int Largest = 1024;
        const int side = std::min({size.width(), size.height(), Largest});
        if (side <= 0) {
            return QPixmap();
        }
        QPixmap drawn = QPixmap::fromImage(draw(side));
        if (mode != QIcon::Normal && qobject_cast<QApplication*>(QCoreApplication::instance())) {
            QStyleOption option;
            option.palette = QApplication::palette();
            drawn = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
        }
        return drawn;
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio =
            painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = pixmap(rect.size() * ratio, mode, state);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, drawn);
    }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> sizes;
        for (const QImage& image : m_drawnAhead) {
            sizes.append(image.size());
        }
        return sizes;
    }

    // Drawn at any size, also where no image is drawn ahead.
    bool isNull() override { return false; }

    QIconEngine* clone() const override { return new ScalableIconEngine(*this); }
    QString key() const override { return QStringLiteral("ZorvoScalableIcon"); }

private:
    QImage draw(int side) const {
        for (const QImage& image : m_drawnAhead) {
            if (image.width() == side && image.height() == side) {
                return image;
            }
        }
        return DrawIcon(*m_renderer, side);
    }

    std::shared_ptr<QSvgRenderer> m_renderer; // read once, shared by the copies QIcon makes
    std::vector<QImage> m_drawnAhead;
};

} // namespace

QIcon ScalableIcon(const QString& svgFile, std::vector<QImage> drawnAhead) {
    auto renderer = std::make_shared<QSvgRenderer>(svgFile);
    if (!renderer->isValid()) {
        // Without the drawing, Qt's own choice among the images drawn ahead.
        QIcon icon;
        for (const QImage& image : drawnAhead) {
            icon.addPixmap(QPixmap::fromImage(image));
        }
        return icon;
    }
    return QIcon(new ScalableIconEngine(std::move(renderer), std::move(drawnAhead)));
}
