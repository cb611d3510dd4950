#include "Startup.h"

#include "ErrorGuard.h"
#include "ScalableIcon.h"

#include <QFile>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void RegisterFontSubstitutions() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans Narrow"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

void InstallRussianTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

bool SetApplicationIcon() {
    std::vector<QImage> drawnAhead;
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QImage image(
            QStringLiteral(":/icons/%1x%1/apps/io.github.zorvo.Zorvo3.png").arg(size));
        if (!image.isNull()) {
            drawnAhead.push_back(image);
        }
    }
    const QIcon icon =
        ScalableIcon(QStringLiteral(":/icons/io.github.zorvo.Zorvo3.svg"), std::move(drawnAhead));
    if (icon.isNull()) {
        return false;
    }
    QApplication::setWindowIcon(icon);
    return true;
}

ZorvoApplication::ZorvoApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZorvoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (Toolkit* toolkit = DefaultToolkit()) {
            ShowCurrentException(*toolkit);
        }
        return true;
    }
}
