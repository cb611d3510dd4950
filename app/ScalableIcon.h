#pragma once
// An icon drawn at the resolution of the device that shows it.

#include <QIcon>
#include <QImage>
#include <QString>

#include <vector>

// The icon of the scalable drawing `svgFile`, rendered at the device size that is asked for
// (the logical size times the device pixel ratio). Where one of the square `drawnAhead`
// images has that size, it is taken as it is. Greyed and other modes follow the style's look.
// Without a readable drawing, the icon has the images drawn ahead only.
QIcon ScalableIcon(const QString& svgFile, std::vector<QImage> drawnAhead);
