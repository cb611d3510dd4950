#pragma once
// The application's title, the caption of every message box: the program file's name
// without its folder and without everything from its first ".", all but the first character
// in lower case ("Zorvo_3" for the program Zorvo_3).

#include <QString>

#include <string>

std::string ApplicationTitleFromPath(const QString& programPath);

// The title of the running program (set once at start-up; "Zorvo_3" until then).
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);
