#pragma once
// The chart's picture written to a PNG file.

#include <QImage>

#include <string>

// Writes `picture` as PNG to `fileName` (file-system bytes) the way the formula file is saved:
// never replacing what the user could not replace, keeping owner, mode and links. A failure
// raises Exception with a message that names the file and the reason.
void SavePicture(const QImage& picture, const std::string& fileName);
