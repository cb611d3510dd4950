#pragma once
// The one place where the system's code page 1251 strings meet Qt's Unicode strings: the
// chart's label texts, the graph window's and the calculator window's controls and messages.

#include <QString>

#include <string>
#include <string_view>

// Code page 1251 bytes as a Qt string.
QString ToQt(std::string_view cp1251);
// A Qt string as code page 1251 bytes; a character the code page cannot hold becomes "?".
std::string FromQt(const QString& text);
// A UTF-8 literal of the sources as code page 1251 bytes (the program's fixed Russian texts).
std::string Cp(std::string_view utf8);

// Multi-line texts: the system joins lines with CR LF, Qt's editors with LF.
QString ToQtLines(std::string_view cp1251);
std::string FromQtLines(const QString& text);
