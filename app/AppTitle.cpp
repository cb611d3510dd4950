#include "AppTitle.h"

#include "TextCodec.h"

#include <QFileInfo>

std::string ApplicationTitleFromPath(const QString& programPath) {
    QString name = QFileInfo(programPath).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        name.truncate(dot);
    }
    if (name.size() > 1) {
        name = name.left(1) + name.mid(1).toLower();
    }
    return FromQt(name);
}

namespace {
std::string& title() {
    static std::string value = "Zorvo_3";
    return value;
}
} // namespace

const std::string& ApplicationTitle() {
    return title();
}

void SetApplicationTitle(const std::string& value) {
    title() = value;
}
