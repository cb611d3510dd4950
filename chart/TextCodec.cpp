#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

QString ToQt(std::string_view cp1251) {
    // Most texts (axis labels above all) are plain ASCII, which needs no decoder.
    bool ascii = true;
    for (const char c : cp1251) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return QString::fromLatin1(cp1251.data(), static_cast<qsizetype>(cp1251.size()));
    }
    QStringDecoder decoder("windows-1251");
    return decoder.decode(QByteArrayView(cp1251.data(), static_cast<qsizetype>(cp1251.size())));
}

std::string FromQt(const QString& text) {
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    std::string result(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // The code page has one byte per character; the converter writes its substitute byte
    // (Ctrl-Z) for a character it cannot hold, one per character, even outside the Basic
    // Multilingual Plane. Such a character becomes "?", while a real Ctrl-Z stays.
    std::size_t index = 0;
    for (qsizetype i = 0; i < text.size() && index < result.size(); ++i, ++index) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
        if (result[index] == '' && text[i] != QChar(0x1a)) {
            result[index] = '?';
        }
    }
    return result;
}

std::string Cp(std::string_view utf8) {
    return FromQt(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

QString ToQtLines(std::string_view cp1251) {
    QString text = ToQt(cp1251);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQtLines(const QString& text) {
    QString lines = text;
    lines.replace(QChar::LineSeparator, QLatin1Char('\n'));
    lines.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQt(lines);
}
