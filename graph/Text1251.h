#pragma once
// The system keeps its texts in code page 1251; Qt's controls hold Unicode. The graph window
// converts at its controls with Qt's own codec.

#include <QString>

#include <string>
#include <string_view>

// Unicode text as code page 1251; a character the code page cannot hold becomes "?".
std::string ToCp1251(const QString& text);
// Code page 1251 text as Unicode.
QString FromCp1251(std::string_view text);
// A fixed text of the program, written in UTF-8 in the source, as code page 1251.
inline std::string Cp1251Text(const char* utf8) {
    return ToCp1251(QString::fromUtf8(utf8));
}
