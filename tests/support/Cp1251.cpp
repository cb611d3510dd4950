#include "Cp1251.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

std::string cp1251(std::string_view utf8) {
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes =
        encoder.encode(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

std::string fromCp1251(std::string_view cp) {
    QStringDecoder decoder("windows-1251");
    const QString text =
        decoder.decode(QByteArrayView(cp.data(), static_cast<qsizetype>(cp.size())));
    return text.toStdString();
}
