#include "FormScale.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

int Scaled(int value, double factor) {
    return int(std::lround(value * factor));
}

void ScaleFont(QWidget* widget, double factor) {
    if (!widget->testAttribute(Qt::WA_SetFont)) {
        return;
    }
    QFont font = widget->font();
    if (font.pixelSize() > 0) {
        font.setPixelSize(std::max(1, Scaled(font.pixelSize(), factor)));
        widget->setFont(font);
    }
}

} // namespace

double DesignScale(const QWidget* form, int designDpi) {
    const int dpi = form->logicalDpiY();
    return dpi > 0 && designDpi > 0 ? double(dpi) / designDpi : 1.0;
}

void ScaleForm(QWidget* form, double factor) {
    ScaleFont(form, factor);
    for (QWidget* child : form->findChildren<QWidget*>()) {
        if (child->isWindow()) {
            continue; // menus and other windows owned by the form keep their own size
        }
        const QRect g = child->geometry();
        const int left = Scaled(g.left(), factor);
        const int top = Scaled(g.top(), factor);
        const int right = Scaled(g.left() + g.width(), factor);
        const int bottom = Scaled(g.top() + g.height(), factor);
        child->setGeometry(left, top, right - left, bottom - top);
        ScaleFont(child, factor);
    }
    form->resize(Scaled(form->width(), factor), Scaled(form->height(), factor));
}

void SetDesignFont(QWidget* widget, int pixelSize) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    widget->setFont(font);
}
