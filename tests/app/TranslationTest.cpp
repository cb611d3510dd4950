// Qt's own dialogs speak Russian like the program: the buttons of the message boxes and the
// file dialogs come from Qt's Russian translation, loaded at start-up.

#include "Startup.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLibraryInfo>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>

namespace {

std::string ButtonText(const QDialogButtonBox& box, QDialogButtonBox::StandardButton which) {
    return box.button(which)->text().remove(QLatin1Char('&')).toStdString();
}

TEST(QtDialogTexts, YesNoOkCancelInRussian) {
    const QString catalogue =
        QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_ru.qm");
    if (!QFile::exists(catalogue))
        GTEST_SKIP() << "Qt's Russian translation is not installed: " << catalogue.toStdString();

    InstallRussianTranslations(*QCoreApplication::instance());
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Ok |
                         QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    EXPECT_EQ(ButtonText(box, QDialogButtonBox::Yes), "Да");
    EXPECT_EQ(ButtonText(box, QDialogButtonBox::No), "Нет");
    EXPECT_EQ(ButtonText(box, QDialogButtonBox::Cancel), "Отмена");
    EXPECT_EQ(ButtonText(box, QDialogButtonBox::Open), "Открыть");
}

} // namespace
