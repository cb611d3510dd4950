#include "Text1251.h"

#include <QStringDecoder>
#include <QStringEncoder>

std::string ToCp1251(const QString& text) {
    // The codec writes "?" for every character outside the code page.
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

QString FromCp1251(std::string_view text) {
    QStringDecoder decoder("windows-1251");
    return decoder.decode(QByteArrayView(text.data(), qsizetype(text.size())));
}
