#include "PictureFile.h"

#include "TextCodec.h"

#include "Exceptions.h"
#include "TextFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>

#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string& fileName, const std::string& reason) {
    throw Exception(Cp("Рисунок не сохранён в файл ") +
                    FromQt(QFile::decodeName(QByteArray::fromStdString(fileName))) + ": " + reason);
}

// Raises with the text-file facility's reason when its last step failed.
void Check(const std::string& fileName) {
    try {
        CheckTextResult();
    } catch (const EInOutError& error) {
        Fail(fileName, error.Message());
    }
}

} // namespace

void SavePicture(const QImage& picture, const std::string& fileName) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&buffer, "PNG"))
        Fail(fileName, Cp("не удалось записать PNG"));
    // The file first takes the whole picture, then replaces the old one in one step: a failure
    // on the way leaves the old file as it was.
    try {
        CheckTextResult(); // a result left over from an earlier command is not this save's
    } catch (const EInOutError&) {
    }
    TextFile file;
    BindTextFile(file, fileName);
    OpenTextForSaving(file);
    Check(fileName);
    WriteTextString(file, std::string_view(png.constData(), std::size_t(png.size())));
    Check(fileName);
    CloseTextFile(file);
    Check(fileName);
}
